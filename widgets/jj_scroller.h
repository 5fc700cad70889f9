#pragma once
// A thin scroller that draws only its knob, shows while the user scrolls or points at it and
// fades out afterwards (unless isAutoShow keeps it visible).
#include <QScrollBar>
#include <QTimer>

class QVariantAnimation;

namespace kestrel::widgets {

class JJScroller : public QScrollBar {
    Q_OBJECT
public:
    static constexpr int kScrollerWidth = 15;
    static constexpr int kFadeOutDelayMs = 1500;

    explicit JJScroller(Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);
    ~JJScroller() override;

    bool isAutoShow() const { return isAutoShow_; }
    void setIsAutoShow(bool v);

    // Current opacity, 0..1, and the value it is animating to.
    qreal alphaValue() const { return alpha_; }
    qreal targetAlpha() const { return target_; }
    // Whether a fade-out is scheduled.
    bool isFadeOutPending() const { return fadeTimer_.isActive(); }

    // Fades the scroller out over 0.3 s.
    void fadeOut();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void sliderChange(SliderChange change) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void animateAlpha(qreal to, int durationMs);

    bool isAutoShow_ = false;
    qreal alpha_ = 1;
    qreal target_ = 1;
    QTimer fadeTimer_;
    QVariantAnimation* animation_;
};

}  // namespace kestrel::widgets
