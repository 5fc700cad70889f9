#include "tools/cutter/easy_cutter_windowcontroller.h"

namespace kestrel::tools::cutter {

EasyCutterWindowcontroller::EasyCutterWindowcontroller(QWidget* parent) : kestrel::widgets::ToolWindow(parent) { resize(1000, 680); }

void EasyCutterWindowcontroller::windowDidLoad() { showPath(filePath_); }

}  // namespace kestrel::tools::cutter
