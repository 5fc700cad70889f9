#include "tools/cutter/batch_cutter_window_controller.h"

namespace cutter {

BatchCutterWindowController::BatchCutterWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1000, 680); }

}  // namespace cutter
