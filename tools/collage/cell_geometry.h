#pragma once
// Which part of a cell's picture is shown. All rectangles are edges in fractions of the picture
// as the viewer sees it (turned, then mirrored): the crop the user chose, and inside it the
// window that fills the cell without distortion and that the user pans.
#include "session/edit/collage_composition.h"

namespace kestrel::tools::collage {

using session::CellEdges;

// Picture size after the turn.
void turnedSize(int width, int height, int angle, int* turnedWidth, int* turnedHeight);

// The largest window of the cell's aspect (width / height in pixels) inside the crop, centred.
CellEdges aspectFillClip(const CellEdges& crop, int turnedWidth, int turnedHeight, double cellAspect);

// The window moved with the picture by a drag of (dx, dy) cell pixels from base, kept inside
// the crop. cellWidth and cellHeight are the cell's size in the same pixels.
CellEdges pannedClip(const CellEdges& base, const CellEdges& crop, double dx, double dy, double cellWidth,
                     double cellHeight);

// The crop after the picture as seen turns a quarter clockwise (counter-clockwise when it is
// mirrored on one axis, as the engine turns before mirroring), or is mirrored.
CellEdges cropTurnedClockwise(const CellEdges& crop);
CellEdges cropTurnedCounterClockwise(const CellEdges& crop);
CellEdges cropMirroredHorizontally(const CellEdges& crop);
CellEdges cropMirroredVertically(const CellEdges& crop);

}  // namespace kestrel::tools::collage
