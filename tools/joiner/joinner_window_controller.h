#pragma once
// The joiner's window, opened without a file. Until the joiner itself lands it is an empty
// window; closing it brings the home screen back.
#include "widgets/tool_window.h"

#include <QString>

namespace joiner {

class JoinnerWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit JoinnerWindowController(QWidget* parent = nullptr);
};

}  // namespace joiner
