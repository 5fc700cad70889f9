#include "app/main_interface.h"
#include "app/startup_check.h"
#include "services/language.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char** argv) {
    // Diagnostics stay quiet in normal use; QT_LOGGING_RULES (e.g. "default.debug=true") turns
    // them on, as it overrides these rules.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndefault.info=false"));
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    // The desktop matches the windows to the installed desktop entry (its icon and name).
    QGuiApplication::setDesktopFileName(services::Language::getCurrentBundleIdentifier());
    app::MainInterface ui = app::loadMainInterface();
    app::scheduleStartupCheck(ui);
    return application.exec();
}
