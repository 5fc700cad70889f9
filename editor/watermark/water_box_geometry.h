#pragma once
// The arithmetic of the watermark placement box, in overlay points with a bottom-left origin:
// which part of the box a press grabs, and how a drag of that part moves or resizes it.
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace kestrel::editor {

enum WaterZone {
    kZoneNone = 0,
    kZoneTopLeft = 1,
    kZoneTopRight = 2,
    kZoneBottomLeft = 3,
    kZoneBottomRight = 4,
    kZoneLeft = 5,
    kZoneRight = 6,
    kZoneTop = 7,
    kZoneBottom = 8,
    kZoneBody = 9,
};

// A text box is always moved whole; a picture box has corner, edge-middle and body zones.
WaterZone waterZoneAt(const QRectF& box, const QPointF& point, bool isPicture);

// The box after dragging a zone to point (already clamped to the view). keepAspect with a picture
// of that size resizes from the corners only; its middle handles give no change (empty result).
// bodyOffset is where the press was taken inside the box, for a body move.
std::optional<QRectF> dragWaterBox(WaterZone zone, const QRectF& box, const QPointF& point, const QSizeF& view,
                                   bool keepAspect, const QSizeF& pictureSize, const QPointF& bodyOffset);

// A box set from outside: at least 10 x 10, at most the view's size, moved inside the view where
// it sticks out (the origin kept otherwise).
QRectF limitedWaterBox(const QRectF& box, const QSizeF& view);

// The box as fractions of the view (bottom-left origin, y upward).
QRectF fractionsOfView(const QRectF& box, const QSizeF& view);

}  // namespace kestrel::editor
