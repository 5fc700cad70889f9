#pragma once
// Where a new watermark box goes so that it does not cover the boxes already placed: upward in
// a column, then on to the next column 20 points below the top of the preview.
#include <QList>
#include <QRectF>

namespace kestrel::editor {

// Rectangles that only share an edge do not overlap. Obstacles without width or height cannot
// move the box on and are passed over, so the search always ends; a box that finds no free
// place within the search bound is returned where it stands last.
QRectF intersectsRect(const QRectF& proposed, const QList<QRectF>& placed, double previewHeight);

}  // namespace kestrel::editor
