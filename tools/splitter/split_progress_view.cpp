#include "tools/splitter/split_progress_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "services/language.h"
#include "widgets/zor_image_view.h"

namespace kestrel::tools::splitter {
namespace {

constexpr double kSliderInset = 9;
constexpr double kSliderHeight = 17;
constexpr double kKnobWidth = 18;
constexpr double kKnobHeight = 34;
constexpr double kMarkerWidth = 12;
constexpr double kMarkerHeight = 24;

QPixmap picture(const char* name) { return services::Language::pixmapWithfileName(QString::fromLatin1(name)); }

}  // namespace

SplitProgressView::SplitProgressView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("playerSlider"));
    setMinimumHeight(56);
    slider_ = new widgets::RDProgressSlider(QRectF(kSliderInset, 0, 200, kSliderHeight), this);
    slider_->setObjectName(QStringLiteral("splitSlider"));
    slider_->setDelegate(this);
    slider_->setProgress(0);
    // The slider's own knob stays hidden: the bar's knob stands over the position.
    slider_->tickMarkView()->hide();
    knob_ = new widgets::ZorImageView(this);
    knob_->setObjectName(QStringLiteral("splitKnob"));
    knob_->setNormalImage(picture("ZantImage/Split/imgSlip_Normal@2x.png"));
    knob_->setDownImage(picture("ZantImage/Split/imgSlip_Down@2x.png"));
    knob_->resize(int(kKnobWidth), int(kKnobHeight));
    knob_->setMouseDownBlock([this](widgets::ZorImageView*, QMouseEvent*) {
        progress_ = knobValue();
        slider_->setProgress(progress_);
        if (MouseDownForSliderBlock) MouseDownForSliderBlock(progress_);
    });
    knob_->setMouseDraggedBlock([this](widgets::ZorImageView*) {
        progress_ = knobValue();
        slider_->setProgress(progress_);
        if (ProgressForSliderBlock) ProgressForSliderBlock(progress_);
    });
    knob_->setMouseUpBlock([this](widgets::ZorImageView*, QMouseEvent*) {
        progress_ = knobValue();
        slider_->setProgress(progress_);
        if (MouseUpForSliderBlock) MouseUpForSliderBlock(progress_);
    });
    setDisable(true);
}

SplitProgressView::~SplitProgressView() { slider_->setDelegate(nullptr); }

QRectF SplitProgressView::sliderFrame() const {
    return QRectF(kSliderInset, (height() - kSliderHeight) / 2 + 5, std::max(1.0, width() - 2 * kSliderInset), kSliderHeight);
}

double SplitProgressView::xForValue(float value) const {
    const QRectF s = sliderFrame();
    return double(float(value * float(s.width()) + float(s.x())));
}

float SplitProgressView::knobValue() const {
    const double room = std::max(1.0, width() - kKnobWidth);
    return float(std::clamp(knob_->x() / room, 0.0, 1.0));
}

void SplitProgressView::placeKnob() {
    const QRectF s = sliderFrame();
    knob_->move(int(std::lround(xForValue(progress_) - kKnobWidth / 2)), int(std::lround(s.bottom() - 24)));
}

void SplitProgressView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    slider_->setFrame(sliderFrame());
    slider_->tickMarkView()->hide();
    placeKnob();
}

void SplitProgressView::setProgress(float progress) {
    progress_ = std::clamp(progress, 0.0f, 1.0f);
    slider_->setProgress(progress_);
    placeKnob();
    update();
}

void SplitProgressView::setDisable(bool disable) {
    disable_ = disable;
    knob_->setEnabled(!disable);
    slider_->setDisable(disable);
    knob_->show();
}

QRect SplitProgressView::markerRect(int index) const {
    if (index < 0 || index >= points_.size()) return {};
    const QRectF s = sliderFrame();
    return QRectF(xForValue(points_.at(index)) - kMarkerWidth / 2, s.y() - 20, kMarkerWidth, kMarkerHeight).toAlignedRect();
}

bool SplitProgressView::insert(float value) {
    const auto at = std::lower_bound(points_.begin(), points_.end(), value);
    if (at != points_.end() && *at == value) return false;
    selected_ = int(at - points_.begin());
    points_.insert(at, value);
    update();
    return true;
}

bool SplitProgressView::addSplitItemTime() {
    // A point placed by hand: its marker may not fall on one that is there already.
    const double centre = xForValue(progress_);
    for (float point : points_) {
        const double left = xForValue(point) - kMarkerWidth / 2;
        if (centre >= left && centre < left + kMarkerWidth) return false;
    }
    return insert(progress_);
}

bool SplitProgressView::addSplitItemTime(float value) { return insert(value); }

void SplitProgressView::setSelectedSplitIndex(int index) {
    if (index < 0 || index >= points_.size()) return;
    selected_ = index;
    setProgress(points_.at(index));
    if (SelectedItemBlock) SelectedItemBlock(index);
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
    placeKnob();
    update();
}

int SplitProgressView::markerAt(const QPoint& point) const {
    // The one drawn on top (the last in order) wins where markers overlap.
    for (int i = int(points_.size()) - 1; i >= 0; --i)
        if (markerRect(i).contains(point)) return i;
    return -1;
}

void SplitProgressView::paintEvent(QPaintEvent*) {
    if (points_.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    static const QPixmap normal = picture("ZantImage/Split/btnExample_2.png");
    static const QPixmap chosen = picture("ZantImage/Split/btnExample_4.png");
    for (int i = 0; i < points_.size(); ++i) {
        const QPixmap& marker = i == selected_ || i == pressedMarker_ ? chosen : normal;
        painter.drawPixmap(QRectF(markerRect(i)), marker, QRectF(marker.rect()));
    }
}

void SplitProgressView::mousePressEvent(QMouseEvent* event) {
    pressedMarker_ = disable_ ? -1 : markerAt(event->position().toPoint());
    update();
}

void SplitProgressView::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = pressedMarker_;
    pressedMarker_ = -1;
    update();
    // A marker pressed and let go over it is selected.
    if (pressed >= 0 && markerAt(event->position().toPoint()) == pressed) setSelectedSplitIndex(pressed);
}

void SplitProgressView::actionMouseDownForProgressSliderBlock(widgets::RDProgressSlider*, float progress) {
    progress_ = progress;
    if (MouseDownForSliderBlock) MouseDownForSliderBlock(progress);
}

void SplitProgressView::actionProgressForProgressSliderBlock(widgets::RDProgressSlider*, float progress) {
    progress_ = progress;
    placeKnob();
    if (ProgressForSliderBlock) ProgressForSliderBlock(progress);
}

void SplitProgressView::actionMouseUpForProgressSliderBlock(widgets::RDProgressSlider*, float progress) {
    progress_ = progress;
    placeKnob();
    if (MouseUpForSliderBlock) MouseUpForSliderBlock(progress);
}

}  // namespace kestrel::tools::splitter
