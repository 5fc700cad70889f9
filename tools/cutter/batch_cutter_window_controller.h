#pragma once
// The batch cutter's window, opened without a file. Until the cutter itself lands it is an
// empty window; closing it brings the home screen back.
#include "widgets/tool_window.h"

#include <QString>

namespace cutter {

class BatchCutterWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit BatchCutterWindowController(QWidget* parent = nullptr);
};

}  // namespace cutter
