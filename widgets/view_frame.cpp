#include "widgets/view_frame.h"

#include <QVariant>
#include <QWidget>

#include "platform/frame.h"
#include "widgets/widget_frame.h"

namespace kestrel::widgets {
namespace {
constexpr const char* kExactFrame = "kestrelExactFrame";
constexpr const char* kExactFrameParentHeight = "kestrelExactFrameParentHeight";

qreal parentHeightOf(const QWidget* view) {
    const QWidget* parent = view->parentWidget();
    return (parent && !view->isWindow()) ? parent->height() : 0;
}

bool isChild(const QWidget* view) { return view->parentWidget() && !view->isWindow(); }

// The Qt geometry a frame gives inside a parent of the given height.
QRect geometryFor(const QWidget* view, const QRectF& frame, qreal parentHeight) {
    if (!isChild(view)) return platform::qtRectFromFrame(frame, 0, true);
    return platform::qtRectFromFrame(frame, parentHeight, platform::isFlipped(view->parentWidget()));
}

// The stored exact frame when it still describes the widget (possibly for an older parent height).
bool storedFrame(const QWidget* view, QRectF* frame, qreal* parentHeight) {
    const QVariant f = view->property(kExactFrame);
    if (!f.isValid()) return false;
    *frame = f.toRectF();
    *parentHeight = view->property(kExactFrameParentHeight).toReal();
    return geometryFor(view, *frame, *parentHeight) == view->geometry();
}

// Shares delta among the flexible parts of one axis.
void shareAlongAxis(qreal delta, qreal* before, qreal* size, qreal after, bool flexBefore, bool flexSize,
                    bool flexAfter) {
    const int flexibleCount = int(flexBefore) + int(flexSize) + int(flexAfter);
    if (flexibleCount == 0 || delta == 0) return;
    const qreal total = (flexBefore ? *before : 0) + (flexSize ? *size : 0) + (flexAfter ? after : 0);
    auto shareOf = [&](bool flexible, qreal part) -> qreal {
        if (!flexible) return 0;
        return total > 0 ? delta * part / total : delta / flexibleCount;
    };
    const qreal beforeShare = shareOf(flexBefore, *before);
    const qreal sizeShare = shareOf(flexSize, *size);
    *before += beforeShare;
    *size += sizeShare;
}
}  // namespace

void setViewFrame(QWidget* view, const QRectF& frame) {
    if (!view) return;
    const qreal parentHeight = parentHeightOf(view);
    view->setProperty(kExactFrame, frame);
    view->setProperty(kExactFrameParentHeight, parentHeight);
    view->setGeometry(geometryFor(view, frame, parentHeight));
}

QRectF viewFrame(const QWidget* view) {
    if (!view) return {};
    QRectF frame;
    qreal parentHeight = 0;
    if (storedFrame(view, &frame, &parentHeight)) return frame;
    return widgets::frameOf(view);
}

QSizeF viewSize(const QWidget* view) { return view ? viewFrame(view).size() : QSizeF(); }

void reapplyChildFrames(QWidget* parent) {
    if (!parent) return;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow()) continue;
        QRectF frame;
        qreal oldParentHeight = 0;
        if (storedFrame(child, &frame, &oldParentHeight) && oldParentHeight != parent->height())
            setViewFrame(child, frame);
    }
}

QRectF autoresizedFrame(const QRectF& frame, const QSizeF& oldSize, const QSizeF& newSize, int mask) {
    qreal x = frame.x(), w = frame.width();
    qreal y = frame.y(), h = frame.height();
    shareAlongAxis(newSize.width() - oldSize.width(), &x, &w, oldSize.width() - frame.right(),
                   mask & kViewMinXMargin, mask & kViewWidthSizable, mask & kViewMaxXMargin);
    shareAlongAxis(newSize.height() - oldSize.height(), &y, &h, oldSize.height() - frame.bottom(),
                   mask & kViewMinYMargin, mask & kViewHeightSizable, mask & kViewMaxYMargin);
    return QRectF(x, y, w, h);
}

}  // namespace kestrel::widgets
