#pragma once
// An image view whose picture comes from the resource bundle by name, as the bars and sliders
// load theirs, and whose corners can be rounded with the content clipped to them (the look a
// backing layer with a corner radius gives).
#include <QString>

#include "widgets/image_view.h"

namespace kestrel::widgets {

class NamedImageView : public ImageView {
    Q_OBJECT
public:
    explicit NamedImageView(QWidget* parent = nullptr);

    // Loads a picture of the resource bundle; a missing picture shows none.
    void setImageNamed(const QString& name);
    // The name the current picture was loaded from; empty when it was set otherwise or cleared.
    QString imageName() const;

    void setLayerCornerRadius(qreal radius);
    qreal layerCornerRadius() const { return cornerRadius_; }
    void setMasksToBounds(bool masks);
    bool masksToBounds() const { return masksToBounds_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString imageName_;
    qint64 namedImageKey_ = 0;
    qreal cornerRadius_ = 0;
    bool masksToBounds_ = false;
};

}  // namespace kestrel::widgets
