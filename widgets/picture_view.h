#pragma once
// A view showing one picture, as the platform's image view does: scaled to the view by the
// chosen rule, without a frame of its own, passing mouse events to the view below it.
#include <QPixmap>
#include <QString>

#include "widgets/layer_view.h"

namespace widgets {

enum class ImageScaling : int {
    ProportionallyDown = 0,
    AxesIndependently = 1,  // stretched to fill the view in both directions
    None = 2,
    ProportionallyUpOrDown = 3,
};

class PictureView : public LayerView {
public:
    explicit PictureView(QWidget* parent = nullptr);

    void setImage(const QPixmap& image);
    QPixmap image() const { return image_; }
    // The resource name the picture was loaded from (empty when set directly or cleared).
    QString imageName() const { return imageName_; }
    // Loads a picture of the resource bundle by name; a missing picture shows none.
    void setImageNamed(const QString& name);
    void setImageScaling(ImageScaling scaling);
    ImageScaling imageScaling() const { return scaling_; }
    // The picture's size in points (a "@2x" file counts half its pixels).
    QSizeF imagePointSize() const;

protected:
    void paintContent(QPainter& painter) override;

private:
    QPixmap image_;
    QString imageName_;
    ImageScaling scaling_ = ImageScaling::ProportionallyDown;
};

// Loads a picture of the resource bundle by name (Settings.bundle lookup rules).
QPixmap bundlePicture(const QString& name);

}  // namespace widgets
