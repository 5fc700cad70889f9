#include "app/main_interface.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    app::MainInterface ui = app::loadMainInterface();
    return application.exec();
}
