#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kestrel");
    QApplication::setApplicationName("Kestrel");
    QMainWindow window;
    window.setWindowTitle("Kestrel");
    window.resize(1000, 640);
    window.show();
    return app.exec();
}
