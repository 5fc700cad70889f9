#pragma once
// The kit's horizontal progress bar: a track picture across the whole width, a fill picture
// whose width is the progress fraction of the track, and an optional centred percent text.
// It does not react to the mouse.
#include <QRectF>
#include <QWidget>

#include "widgets/named_image_view.h"

class QLabel;

namespace kestrel::widgets {

class NSProgressView : public QWidget {
public:
    explicit NSProgressView(const QRectF& frame, QWidget* parent = nullptr);
    ~NSProgressView() override;

    // Moves the fill (never clamped: 1.5 draws one and a half tracks) and, when the percent text
    // is on, rewrites it.
    void setProgress(float progress);
    float progress() const { return progress_; }
    // Keeps the track and the fill in step with a new size; the percent text stays where it is.
    void setFrame(const QRectF& frame);
    // Takes effect at the next setProgress.
    void setIsShowProgressLabel(bool show) { isShowProgressLabel_ = show; }
    bool isShowProgressLabel() const { return isShowProgressLabel_; }

    NamedImageView* progressTintView() const { return progressTintView_; }
    NamedImageView* progressBackView() const { return progressBackView_; }
    QLabel* progressLabel() const { return progressLabel_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void followNewSize();

    bool isShowProgressLabel_ = false;
    float progress_ = 0;
    QSizeF laidOutSize_;
    NamedImageView* progressBackView_ = nullptr;
    NamedImageView* progressTintView_ = nullptr;
    QLabel* progressLabel_ = nullptr;
};

// The percent text for a fraction: "%.f%%" of the fraction times 100 in single precision.
QString progressPercentText(float progress);

}  // namespace kestrel::widgets
