#include "tools/beauty/beauty_window_controller.h"

namespace beauty {

BeautyWindowController::BeautyWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1500, 876); }

void BeautyWindowController::windowDidLoad() { showPath(videoPath_); }

}  // namespace beauty
