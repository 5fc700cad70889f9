#pragma once
// The splitter's time bar: the play position with a knob that marks where the next hand-placed
// point goes, and the split points as markers, one of them selected. Points closer together
// than a marker's width are not added.
#include <QList>
#include <QWidget>
#include <functional>

namespace kestrel::tools::splitter {

class SplitProgressView : public QWidget {
    Q_OBJECT
public:
    explicit SplitProgressView(QWidget* parent = nullptr);

    // The play position, 0..1.
    void setProgress(float progress);
    float progress() const { return progress_; }
    void setDisable(bool disable);
    bool disable() const { return disable_; }

    // A point at the knob; false when a marker is already there.
    bool addSplitItemTime();
    bool addSplitItemTime(float value);
    void setSelectedSplitIndex(int index);
    int selectedSplitIndex() const { return selected_; }
    // The points ascending, followed by 1.0.
    QList<float> getTimeProgresses() const;
    float getProgressForIndex(int index) const;
    int count() const { return int(points_.size()); }
    // Removes the point at index (the last one when index lies past the end).
    void removeSplitItemTAtIndex(int index);
    void removeAllSplitItem();

    // Told the new position while the user presses or drags on the bar, and when he lets go.
    std::function<void(float)> ProgressForSliderBlock;
    std::function<void(float)> MouseUpForSliderBlock;
    std::function<void(int)> SelectedItemBlock;

    // The x of a fraction, and the marker hit at a point (-1 for none): for the owner's tests.
    double xForValue(float value) const;
    int markerAt(const QPoint& point) const;

    QSize sizeHint() const override { return {600, 56}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr double kInset = 9;
    static constexpr double kMarkerWidth = 12;
    double trackWidth() const { return std::max(1.0, width() - 2 * kInset); }
    double trackY() const { return height() / 2.0 + 6; }
    float valueAt(double x) const;
    bool addAt(float value);

    QList<float> points_;  // ascending
    int selected_ = -1;
    float progress_ = 0;
    bool disable_ = true;
    bool dragging_ = false;
};

}  // namespace kestrel::tools::splitter
