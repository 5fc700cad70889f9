// The home screen in every interface language: tile titles, header title, hint line and header
// buttons fit (a tile title may take two lines, then shrink, and only then is cut with the whole
// title in its tool tip); a title never runs into its tile's symbol; the header buttons' titles
// start after their glyphs; Arabic keeps the window's layout, with the header reading from the
// icon as in every other language.
#include "app/home_tiles.h"
#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "app/main_interface.h"
#include "app/tile_title.h"
#include "services/language.h"
#include "widgets/zor_button.h"
#include "widgets/zor_button_layout.h"

#include "tests/support/text_fit.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

using kestrel::test::expectTextsFit;

class HomeTextFit : public kestrel::test::AllLanguagesTest {
protected:
    void SetUp() override {
        AllLanguagesTest::SetUp();
        ui = app::loadMainInterface();
        QApplication::processEvents();
    }
    void TearDown() override {
        ui = app::MainInterface();
        AllLanguagesTest::TearDown();
    }
    app::HomeViewController* home() const { return ui.homeWindow->contentViewController(); }
    app::MainInterface ui;
};

TEST_P(HomeTextFit, TilesAndHeaderFit) {
    const std::string language = languageFolder().toStdString();
    EXPECT_GE(expectTextsFit(home(), language, arabic()), app::kHomeTileCount + 4);
    for (int tag = 1; tag <= app::kHomeTileCount; ++tag) {
        kestrel::widgets::ZorButton* tile = home()->tileWithTag(tag);
        ASSERT_NE(tile, nullptr);
        app::TileTitle* title = app::HomeViewController::tileLabel(tile);
        const std::string where = language + ", tile " + std::to_string(tag) + " \"" + title->title().toStdString() + "\"";
        // Cut only after two lines at the floor size did not do; then the whole title is the tip.
        if (title->text() != title->title()) {
            EXPECT_EQ(title->font().pointSize(), app::TileTitle::kFloorPointSize) << where;
            EXPECT_EQ(title->toolTip(), title->title()) << where;
        }
        const kestrel::widgets::ZorLayoutInput face = tile->layoutInput();
        ASSERT_FALSE(face.picture.isEmpty()) << where;
        const QRectF symbol(kestrel::widgets::zorPictureOrigin(face), face.picture);
        // The symbol's glyph fills the upper five eighths of its picture; the title stays below it.
        const QFontMetrics metrics(title->font());
        const QRect text = metrics.boundingRect(title->contentsRect(), (title->wordWrap() ? Qt::TextWordWrap : 0) | title->alignment(), title->text())
                               .translated(title->pos());
        EXPECT_GE(text.top(), symbol.top() + symbol.height() * 5 / 8) << where << " runs into the symbol; label at " << title->y() << "+" << title->height() << ", " << title->font().pointSize() << " pt, wrap " << title->wordWrap();
        EXPECT_LE(text.bottom(), tile->height() - 3) << where << " runs off the tile";
    }
    // The header reads from the icon in every language.
    for (QLabel* label : home()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text().isEmpty() || label->pixmap().isNull() == false) continue;
        const Qt::Alignment shown = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        EXPECT_TRUE(shown & Qt::AlignLeft) << language << ", header \"" << label->text().toStdString() << "\" is not beside the icon";
    }
}

KESTREL_ALL_LANGUAGES(HomeTextFit);

}  // namespace
