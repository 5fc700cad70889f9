#pragma once
// The widget that shows the preview: the latest frame fitted inside its bounds with its aspect
// ratio kept, and black bars around it.
#include <QImage>
#include <QWidget>

namespace kestrel::player {

class PlayerView : public QWidget {
    Q_OBJECT
public:
    explicit PlayerView(QWidget* parent = nullptr);

    // Shows a new picture; cheap (implicitly shared image), main thread only.
    void showImage(const QImage& image);
    const QImage& image() const { return image_; }

    // Where the picture is drawn in widget coordinates (empty when there is none).
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

}  // namespace kestrel::player
