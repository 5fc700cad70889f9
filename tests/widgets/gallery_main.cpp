// Renders every registered control to <build>/widget-gallery/<name>.png on the offscreen
// platform, for a look review by eye.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <memory>

#include "services/language.h"
#include "tests/support/build_tree_resources.h"
#include "tests/widgets/gallery.h"

namespace gallery {

std::vector<Shot>& registry() {
    static std::vector<Shot> shots;
    return shots;
}

Registrar::Registrar(std::vector<Shot> shots) {
    for (auto& shot : shots) registry().push_back(std::move(shot));
}

QWidget* host(QWidget* control, QSize panelSize) {
    auto* panel = new QWidget;
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(23, 26, 32));
    panel->setPalette(palette);
    panel->resize(panelSize);
    control->setParent(panel);
    control->move(10, 10);
    control->show();
    return panel;
}

QPixmap picture(const QString& name, QSize fallbackSize) {
    QPixmap found = services::Language::pixmapWithfileName(name);
    if (!found.isNull()) return found;
    QPixmap square(fallbackSize);
    square.fill(QColor(96, 222, 208));
    return square;
}

}  // namespace gallery

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    kestrel::test::useBuildTreeResources();
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(KESTREL_GALLERY_DIR);
    QDir().mkpath(folder);
    int written = 0;
    for (const gallery::Shot& shot : gallery::registry()) {
        std::unique_ptr<QWidget> widget(shot.make());
        widget->ensurePolished();
        const QString path = folder + "/" + shot.name + ".png";
        if (!widget->grab().save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            return 1;
        }
        ++written;
    }
    std::printf("%d pictures in %s\n", written, qPrintable(folder));
    return 0;
}
