#include "editor/watermark/watermark_stacking.h"

namespace kestrel::editor {

namespace {

bool overlaps(const QRectF& a, const QRectF& b) {
    return a.x() < b.x() + b.width() && b.x() < a.x() + a.width() && a.y() < b.y() + b.height() &&
           b.y() < a.y() + a.height();
}

}  // namespace

QRectF intersectsRect(const QRectF& proposed, const QList<QRectF>& placed, double previewHeight) {
    QRectF r = proposed;
    // Each step moves the box up by an obstacle's height or right by its width; this many steps
    // walk past every box several times over.
    const int bound = 64 * (static_cast<int>(placed.size()) + 1) * (static_cast<int>(placed.size()) + 1);
    for (int step = 0; step < bound; ++step) {
        const QRectF* obstacle = nullptr;
        for (const QRectF& other : placed) {
            if (other.width() <= 0 || other.height() <= 0) continue;
            if (overlaps(r, other)) {
                obstacle = &other;
                break;
            }
        }
        if (!obstacle) return r;
        r.moveTop(r.y() + obstacle->height());
        if (r.y() + r.height() > previewHeight - 20) {
            r.moveLeft(r.x() + obstacle->width());
            r.moveTop(1.0);
        }
    }
    return r;
}

}  // namespace kestrel::editor
