#include "editor/editor_value_field.h"

#include "editor/edit_video_window_controller.h"
#include "editor/editor_look.h"
#include "widgets/rd_text_field.h"

namespace kestrel::editor {

kestrel::widgets::RDTextField* makeValueField(QWidget* parent, EditVideoWindowController* owner, const QColor& pointColor,
                                     bool enabled) {
    auto* f = new kestrel::widgets::RDTextField(parent);
    f->setFont(look::systemFont(13));
    f->setAlignment(Qt::AlignCenter);
    f->setFrame(false);
    QPalette p = f->palette();
    p.setColor(QPalette::Text, look::kControlText);
    p.setColor(QPalette::Base, look::kPanelBackground);
    f->setPalette(p);
    f->setPointColor(pointColor);
    f->setMouseDelegate(owner);
    f->setEnabled(enabled);
    QObject::connect(f, &QLineEdit::textEdited, owner, [owner, f] { owner->controlTextDidChange(f); });
    return f;
}

}  // namespace kestrel::editor
