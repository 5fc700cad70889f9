#include "tools/shared/simple_alert.h"

#include <QMessageBox>
#include <QPushButton>

#include "services/language.h"

namespace kestrel::tools::shared {

void showSimpleAlert(QWidget* window, const QString& message) {
    QMessageBox box(QMessageBox::Warning, window->windowTitle(), window->windowTitle(), QMessageBox::Ok, window);
    box.setInformativeText(message);
    box.button(QMessageBox::Ok)->setText(services::localized(QStringLiteral("OKBtnTitle")));
    box.exec();
}

}  // namespace kestrel::tools::shared
