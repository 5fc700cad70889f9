#include "app/main_interface.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char** argv) {
    // Diagnostics stay quiet in normal use; QT_LOGGING_RULES (e.g. "default.debug=true") turns
    // them on, as it overrides these rules.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndefault.info=false"));
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    app::MainInterface ui = app::loadMainInterface();
    return application.exec();
}
