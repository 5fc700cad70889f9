#pragma once
// A view with the look a backing layer gives: a background colour, rounded corners and
// optional clipping of the content to them. Subclasses draw their content in paintContent.
#include <QColor>
#include <QWidget>

class QPainter;

namespace widgets {

class LayerView : public QWidget {
public:
    explicit LayerView(QWidget* parent = nullptr);

    void setLayerBackgroundColor(const QColor& color);
    QColor layerBackgroundColor() const { return background_; }
    void setLayerCornerRadius(qreal radius);
    qreal layerCornerRadius() const { return cornerRadius_; }
    // Whether the content is clipped to the rounded bounds.
    void setMasksToBounds(bool masks);
    bool masksToBounds() const { return masksToBounds_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the content in Qt coordinates (top-left origin) of the whole view.
    virtual void paintContent(QPainter& painter) = 0;

private:
    QColor background_;
    qreal cornerRadius_ = 0;
    bool masksToBounds_ = false;
};

}  // namespace widgets
