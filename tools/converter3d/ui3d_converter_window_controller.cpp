#include "tools/converter3d/ui3d_converter_window_controller.h"

namespace converter3d {

UI3DConverterWindowController::UI3DConverterWindowController(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1500, 876); }

void UI3DConverterWindowController::windowDidLoad() { showPath(videoPath_); }

}  // namespace converter3d
