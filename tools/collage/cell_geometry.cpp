#include "tools/collage/cell_geometry.h"

#include <algorithm>

namespace kestrel::tools::collage {

void turnedSize(int width, int height, int angle, int* turnedWidth, int* turnedHeight) {
    const bool swap = angle == 90 || angle == 270;
    *turnedWidth = swap ? height : width;
    *turnedHeight = swap ? width : height;
}

CellEdges aspectFillClip(const CellEdges& crop, int turnedWidth, int turnedHeight, double cellAspect) {
    const double cropW = (crop.right - crop.left) * turnedWidth;
    const double cropH = (crop.bottom - crop.top) * turnedHeight;
    if (cropW <= 0 || cropH <= 0 || !(cellAspect > 0)) return crop;
    const double shown = cropW / cropH;
    CellEdges clip = crop;
    if (shown > cellAspect) {
        const double f = cellAspect / shown;  // share of the crop's width shown
        const double w = (crop.right - crop.left) * f;
        clip.left = crop.left + ((crop.right - crop.left) - w) / 2;
        clip.right = clip.left + w;
    } else {
        const double f = shown / cellAspect;
        const double h = (crop.bottom - crop.top) * f;
        clip.top = crop.top + ((crop.bottom - crop.top) - h) / 2;
        clip.bottom = clip.top + h;
    }
    return clip;
}

CellEdges pannedClip(const CellEdges& base, const CellEdges& crop, double dx, double dy, double cellWidth,
                     double cellHeight) {
    if (cellWidth <= 0 || cellHeight <= 0) return base;
    const double w = base.right - base.left, h = base.bottom - base.top;
    // Dragging to the right shows more of the left: the window moves against the pointer.
    const double left = std::clamp(base.left - dx / cellWidth * w, crop.left, std::max(crop.left, crop.right - w));
    const double top = std::clamp(base.top - dy / cellHeight * h, crop.top, std::max(crop.top, crop.bottom - h));
    return CellEdges{left, top, left + w, top + h};
}

CellEdges cropTurnedClockwise(const CellEdges& c) { return {1 - c.bottom, c.left, 1 - c.top, c.right}; }
CellEdges cropTurnedCounterClockwise(const CellEdges& c) { return {c.top, 1 - c.right, c.bottom, 1 - c.left}; }
CellEdges cropMirroredHorizontally(const CellEdges& c) { return {1 - c.right, c.top, 1 - c.left, c.bottom}; }
CellEdges cropMirroredVertically(const CellEdges& c) { return {c.left, 1 - c.bottom, c.right, 1 - c.top}; }

}  // namespace kestrel::tools::collage
