#pragma once
// The plain one-button alert of the cutters and the joiner: a warning headed by the window's
// title, the message below it, one "OKBtnTitle" button; modal, it returns once dismissed.
#include <QString>

class QWidget;

namespace kestrel::tools::shared {

void showSimpleAlert(QWidget* window, const QString& message);

}  // namespace kestrel::tools::shared
