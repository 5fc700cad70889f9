#pragma once
// Vertical centring of a text field's text: where drawn, edited and selected text sit.
#include <QRectF>
#include <QSizeF>

namespace kestrel::widgets {

// The platform's drawing rectangle with its height cut to the text's and its y set to half of
// the difference; unchanged when the text is as tall as the rectangle or taller.
QRectF xjCenterYDrawingRect(const QRectF& platformRect, const QSizeF& cellSize);

}  // namespace kestrel::widgets
