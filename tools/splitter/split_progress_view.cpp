#include "tools/splitter/split_progress_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kestrel::tools::splitter {
namespace {

const QColor kTrack(49, 60, 72);
const QColor kFilled(33, 176, 235);
const QColor kMarker(170, 177, 185);
const QColor kSelected(96, 222, 208);

}  // namespace

SplitProgressView::SplitProgressView(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(56);
    setMouseTracking(false);
}

double SplitProgressView::xForValue(float value) const { return kInset + double(value) * trackWidth(); }

float SplitProgressView::valueAt(double x) const {
    return float(std::clamp((x - kInset) / trackWidth(), 0.0, 1.0));
}

void SplitProgressView::setProgress(float progress) {
    progress_ = std::clamp(progress, 0.0f, 1.0f);
    update();
}

void SplitProgressView::setDisable(bool disable) {
    disable_ = disable;
    update();
}

bool SplitProgressView::addAt(float value) {
    const double x = xForValue(value);
    for (float point : points_)
        if (std::abs(xForValue(point) - x) < kMarkerWidth / 2) return false;
    points_.append(value);
    std::sort(points_.begin(), points_.end());
    selected_ = int(points_.indexOf(value));
    update();
    return true;
}

bool SplitProgressView::addSplitItemTime() { return addAt(progress_); }

bool SplitProgressView::addSplitItemTime(float value) { return addAt(value); }

void SplitProgressView::setSelectedSplitIndex(int index) {
    if (index < 0 || index >= points_.size()) return;
    selected_ = index;
    progress_ = points_.at(index);
    if (SelectedItemBlock) SelectedItemBlock(index);
    update();
}

QList<float> SplitProgressView::getTimeProgresses() const {
    QList<float> list = points_;
    list.append(1.0f);
    return list;
}

float SplitProgressView::getProgressForIndex(int index) const {
    return index >= 0 && index < points_.size() ? points_.at(index) : 0.0f;
}

void SplitProgressView::removeSplitItemTAtIndex(int index) {
    if (points_.isEmpty()) return;
    if (index < 0 || index >= points_.size()) index = int(points_.size()) - 1;
    points_.removeAt(index);
    selected_ = points_.isEmpty() ? -1 : std::min(index, int(points_.size()) - 1);
    update();
}

void SplitProgressView::removeAllSplitItem() {
    points_.clear();
    selected_ = -1;
    update();
}

int SplitProgressView::markerAt(const QPoint& point) const {
    const double y = trackY();
    if (point.y() < y - 24 || point.y() > y) return -1;
    for (int i = 0; i < points_.size(); ++i)
        if (std::abs(point.x() - xForValue(points_.at(i))) <= kMarkerWidth / 2) return i;
    return -1;
}

void SplitProgressView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double y = trackY();
    const QRectF track(kInset, y, trackWidth(), 5);
    painter.fillRect(track, kTrack);
    painter.fillRect(QRectF(kInset, y, trackWidth() * progress_, 5), disable_ ? kTrack.lighter(130) : kFilled);
    for (int i = 0; i < points_.size(); ++i) {
        const double x = xForValue(points_.at(i));
        QPolygonF marker;
        marker << QPointF(x - kMarkerWidth / 2, y - 22) << QPointF(x + kMarkerWidth / 2, y - 22)
               << QPointF(x + kMarkerWidth / 2, y - 8) << QPointF(x, y - 2) << QPointF(x - kMarkerWidth / 2, y - 8);
        painter.setPen(Qt::NoPen);
        painter.setBrush(i == selected_ ? kSelected : kMarker);
        painter.drawPolygon(marker);
    }
    // The knob over the play position marks where the next point goes.
    const double knob = xForValue(progress_);
    painter.setBrush(disable_ ? kMarker.darker(150) : QColor(255, 255, 255));
    painter.drawEllipse(QPointF(knob, y + 2.5), 7, 7);
}

void SplitProgressView::mousePressEvent(QMouseEvent* event) {
    if (disable_) return;
    const int marker = markerAt(event->pos());
    if (marker >= 0) {
        setSelectedSplitIndex(marker);
        if (MouseUpForSliderBlock) MouseUpForSliderBlock(progress_);
        return;
    }
    dragging_ = true;
    setProgress(valueAt(event->position().x()));
    if (ProgressForSliderBlock) ProgressForSliderBlock(progress_);
}

void SplitProgressView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    setProgress(valueAt(event->position().x()));
    if (ProgressForSliderBlock) ProgressForSliderBlock(progress_);
}

void SplitProgressView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_) return;
    dragging_ = false;
    setProgress(valueAt(event->position().x()));
    if (MouseUpForSliderBlock) MouseUpForSliderBlock(progress_);
}

}  // namespace kestrel::tools::splitter
