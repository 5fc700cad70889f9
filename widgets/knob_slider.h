#pragma once
// What the volume slider and the progress slider share: a track, a fill from the track's start
// to the knob, a picture knob the user drags, one value from 0 to 1, and the press, drag and
// release reports. Subclasses choose the parts' looks; ReportingKnobSlider passes the reports on.
#include <QRectF>

#include "widgets/named_image_view.h"

namespace kestrel::widgets {

class KnobSlider : public QWidget {
public:
    // Places the knob and the fill for a value given by the owner; reports nothing.
    void setProgress(float progress);
    float progress() const { return progress_; }
    // Resizes, then places the knob and the fill for the stored value.
    void setFrame(const QRectF& frame);
    // A disabled slider ignores the mouse.
    void setDisable(bool disable) { disable_ = disable; }
    bool disable() const { return disable_; }
    // YES centres the knob again (see the subclass); the stored flag is returned.
    virtual void setTickrefresh(bool refresh) = 0;
    bool tickrefresh() const { return tickrefresh_; }

protected:
    explicit KnobSlider(QWidget* parent);

    // Which way the slider runs now.
    virtual bool horizontal() const = 0;
    // The subviews follow a change of the slider's size.
    virtual void resizeParts(const QSizeF& oldSize, const QSizeF& newSize) = 0;
    virtual void reportPress(float value) = 0;
    virtual void reportProgress(float value) = 0;
    virtual void reportRelease(float value) = 0;

    // Built by the subclass constructor, in drawing order.
    NamedImageView* track_ = nullptr;
    NamedImageView* fill_ = nullptr;
    NamedImageView* knob_ = nullptr;
    bool tickrefresh_ = false;
    QSizeF laidOutSize_;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void followNewSize();
    void placeKnob(double fillHalfKnob);
    void dragTo(const QMouseEvent* event);

    float progress_ = 0;
    bool disable_ = false;
};

}  // namespace kestrel::widgets
