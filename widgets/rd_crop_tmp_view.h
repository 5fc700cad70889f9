#pragma once
// A view filled with one colour: the veil around the editor's crop and watermark boxes.
#include <QColor>
#include <QWidget>

namespace kestrel::widgets {

class RDCropTmpView : public QWidget {
    Q_OBJECT
public:
    explicit RDCropTmpView(QWidget* parent = nullptr) : QWidget(parent) {}

    // Owners ask for a redraw after changing it.
    const QColor& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& c) { backgroundColor_ = c; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor backgroundColor_;
};

}  // namespace kestrel::widgets
