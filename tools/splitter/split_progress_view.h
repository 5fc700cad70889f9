#pragma once
// The splitter's time bar: a progress slider showing the play position, a knob above it that
// marks where the next hand-placed point goes, and the split points as markers, one of them
// selected. Points the split modes compute are all kept, however close their markers come; a
// point placed by hand is refused where its marker would fall on an existing one.
#include <QList>
#include <QWidget>
#include <functional>

#include "widgets/rd_progress_slider.h"

namespace kestrel::widgets {
class ZorImageView;
}

namespace kestrel::tools::splitter {

class SplitProgressView : public QWidget, private widgets::RDProgressSliderDelegate {
    Q_OBJECT
public:
    explicit SplitProgressView(QWidget* parent = nullptr);
    ~SplitProgressView() override;

    // The play position, 0..1; the knob follows it.
    void setProgress(float progress);
    float progress() const { return progress_; }
    // A disabled bar ignores drags on its slider and its knob.
    void setDisable(bool disable);
    bool disable() const { return disable_; }

    // A hand-placed point at the knob; false when the knob stands on an existing marker.
    bool addSplitItemTime();
    // A computed point at value (strictly between 0 and 1); only a point already there is
    // not added twice.
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

    // Told the position when a press on the slider or the knob begins, at each drag step, and
    // when it ends; and the index of a marker the user selected.
    std::function<void(float)> MouseDownForSliderBlock;
    std::function<void(float)> ProgressForSliderBlock;
    std::function<void(float)> MouseUpForSliderBlock;
    std::function<void(int)> SelectedItemBlock;

    widgets::RDProgressSlider* slider() const { return slider_; }
    widgets::ZorImageView* beginBtn() const { return knob_; }
    // Where a value lies across the bar, and the marker drawn at a point (-1 for none).
    double xForValue(float value) const;
    int markerAt(const QPoint& point) const;
    QRect markerRect(int index) const;

    QSize sizeHint() const override { return {600, 56}; }
    QSize minimumSizeHint() const override { return {200, 56}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void actionMouseDownForProgressSliderBlock(widgets::RDProgressSlider*, float progress) override;
    void actionProgressForProgressSliderBlock(widgets::RDProgressSlider*, float progress) override;
    void actionMouseUpForProgressSliderBlock(widgets::RDProgressSlider*, float progress) override;
    QRectF sliderFrame() const;
    void placeKnob();
    float knobValue() const;
    bool insert(float value);

    widgets::RDProgressSlider* slider_ = nullptr;
    widgets::ZorImageView* knob_ = nullptr;
    QList<float> points_;  // ascending
    int selected_ = -1;
    int pressedMarker_ = -1;
    float progress_ = 0;
    bool disable_ = true;
};

}  // namespace kestrel::tools::splitter
