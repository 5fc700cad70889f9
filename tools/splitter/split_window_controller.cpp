#include "tools/splitter/split_window_controller.h"

namespace splitter {

SplitWindowController::SplitWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1000, 680); }

void SplitWindowController::windowDidLoad() { showPath(filePath_); }

}  // namespace splitter
