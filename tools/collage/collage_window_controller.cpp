#include "tools/collage/collage_window_controller.h"

namespace collage {

CollageWindowController::CollageWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1370, 770); }

}  // namespace collage
