// Build tool: renders one SVG picture to PNG.
//   kestrel_svg_render <input.svg> <output.png> <scale>
// The PNG is the SVG's own size times scale (2 for "@2x" pictures, 3 for "@3x").
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

// The offscreen platform complains about a missing runtime folder, which drawing never uses.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || message.startsWith(QLatin1String("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

}  // namespace

int main(int argc, char** argv) {
    // No display is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    bool scaleOk = false;
    const int scale = args.size() == 3 ? args.at(2).toInt(&scaleOk) : 0;
    if (!scaleOk || scale < 1 || scale > 8) {
        std::fprintf(stderr, "usage: kestrel_svg_render <input.svg> <output.png> <scale 1..8>\n");
        return 2;
    }
    const QString input = args.at(0);
    const QString output = args.at(1);

    QSvgRenderer renderer(input);
    const QSize size = renderer.defaultSize() * scale;
    if (!renderer.isValid() || size.isEmpty()) {
        std::fprintf(stderr, "%s: error: not a valid SVG picture with a width and height\n", qUtf8Printable(input));
        return 1;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }

    QDir().mkpath(QFileInfo(output).absolutePath());
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "%s: error: cannot write the picture\n", qUtf8Printable(output));
        return 1;
    }
    return 0;
}
