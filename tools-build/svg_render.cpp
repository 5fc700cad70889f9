// Build tool: renders one SVG picture to PNG.
//   kestrel_svg_render <input.svg> <output.png> <scale>
//   kestrel_svg_render <input.svg> <output.png> <N>px
// The PNG is the SVG's own size times scale (2 for "@2x" pictures, 3 for "@3x"), or N x N pixels
// (the desktop's icon sizes, from a square picture).
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
    const QString sizeArgument = args.size() == 3 ? args.at(2) : QString();
    const bool inPixels = sizeArgument.endsWith(QLatin1String("px"));
    bool numberOk = false;
    const int number = (inPixels ? sizeArgument.chopped(2) : sizeArgument).toInt(&numberOk);
    if (!numberOk || number < 1 || number > (inPixels ? 4096 : 8)) {
        std::fprintf(stderr, "usage: kestrel_svg_render <input.svg> <output.png> <scale 1..8 | N px, N 1..4096>\n");
        return 2;
    }
    const QString input = args.at(0);
    const QString output = args.at(1);

    QSvgRenderer renderer(input);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()) {
        std::fprintf(stderr, "%s: error: not a valid SVG picture with a width and height\n", qUtf8Printable(input));
        return 1;
    }
    if (inPixels && renderer.defaultSize().width() != renderer.defaultSize().height()) {
        std::fprintf(stderr, "%s: error: a picture rendered in pixels must be square\n", qUtf8Printable(input));
        return 1;
    }
    const QSize size = inPixels ? QSize(number, number) : renderer.defaultSize() * number;
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
