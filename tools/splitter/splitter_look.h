#pragma once
// The dark look of the splitter's window and its prompt: background 23, 26, 32, texts 170, 177,
// 185 at 13 points, flat dark controls.
class QWidget;

namespace kestrel::tools::splitter {

void applySplitterLook(QWidget* window);

}  // namespace kestrel::tools::splitter
