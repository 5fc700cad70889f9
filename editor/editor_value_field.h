#pragma once
// The number and time fields of the editor's panels: centred text on the panel face, clicks
// and typed text reported to the editor.
#include <QColor>

class QWidget;
class EditVideoWindowController;
namespace kestrel::widgets {
class RDTextField;
}

namespace kestrel::editor {

kestrel::widgets::RDTextField* makeValueField(QWidget* parent, EditVideoWindowController* owner, const QColor& pointColor,
                                     bool enabled);

}  // namespace kestrel::editor
