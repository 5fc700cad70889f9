#include "app/tile_title.h"

#include "widgets/dialogs/dark_look.h"

namespace app {
namespace {
constexpr int kSideMargin = 4;     // the tile's rounded outline
constexpr int kOneLineCentre = 30;  // a one-line title's middle above the tile's bottom
// The symbol (48 points, centred in the tile) carries its glyph in its upper five eighths; two
// lines start below that and end above the tile's outline.
constexpr int kSymbolSize = 48;
constexpr int kBottomMargin = 3;
}  // namespace

TileTitle::TileTitle(QWidget* tile) : QLabel(tile) {
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    setTextColor(kestrel::widgets::kTextColor);
}

void TileTitle::showTitle(const QString& title) {
    title_ = title;
    QWidget* tile = parentWidget();
    const int width = tile->width() - 2 * kSideMargin;
    // One line keeps its place under the symbol; two lines grow downwards into the tile's
    // bottom margin, clear of the symbol.
    const int glyphBottom = (tile->height() - kSymbolSize) / 2 + kSymbolSize * 5 / 8 + 1;
    setGeometry(kSideMargin, glyphBottom, width, tile->height() - kBottomMargin - glyphBottom);
    const int used = kestrel::widgets::fitTwoLines(this, title, kPointSize, kFloorPointSize);
    if (!wordWrap()) {
        QFont shown = font();
        shown.setPointSize(used);
        const int oneLine = QFontMetrics(shown).lineSpacing() + 2;
        setGeometry(kSideMargin, tile->height() - kOneLineCentre - oneLine / 2, width, oneLine);
    }
}

void TileTitle::setTextColor(const QColor& color) {
    QPalette shown = palette();
    shown.setColor(QPalette::WindowText, color);
    setPalette(shown);
}

}  // namespace app
