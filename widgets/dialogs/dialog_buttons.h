#pragma once
// The dialog button the alerts and the About box share: the "ZantImage/Reverse/btnCommon"
// pictures (a plain face where they are missing), black title, no bezel.
class QWidget;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::widgets {

kestrel::widgets::ZorButton* makeDialogButton(QWidget* parent, int pointSize);

}  // namespace kestrel::widgets
