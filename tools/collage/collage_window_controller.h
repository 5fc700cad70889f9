#pragma once
// The collage maker's window, opened without a file and sized by the opener. Until the collage
// maker itself lands it is an empty window; closing it brings the home screen back.
#include "widgets/tool_window.h"

#include <QString>

namespace collage {

class CollageWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit CollageWindowController(QWidget* parent = nullptr);
};

}  // namespace collage
