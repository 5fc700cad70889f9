#include "tools/joiner/joinner_window_controller.h"

namespace joiner {

JoinnerWindowController::JoinnerWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1100, 720); }

}  // namespace joiner
