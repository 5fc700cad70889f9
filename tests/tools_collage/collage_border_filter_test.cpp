// The border controls and the filter window's own preview, through their controls: the width
// field counts half widths, the resets go to width 10 and white, a replaced border picture is
// deleted; the filter window shows the collage through the filter looked at before OK, and its
// play, stop and position slider drive that preview.
#include "engine/editing/preview_view.h"
#include "session/preview/collage_preview.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_filter_window.h"
#include "tools/collage/filter_preview_panel.h"
#include "widgets/zor_button.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using namespace kestrel::tools::collage;

namespace {

bool shows(QWidget* area, double fx, double fy, QColor want) {
    return waitUntil(
        [&] {
            auto* view = area->findChild<kestrel::editing::PreviewView*>();
            if (!view) return false;
            const QImage picture = view->picture();
            if (picture.isNull()) return false;
            const QColor got = picture.pixelColor(int(fx * picture.width()), int(fy * picture.height()));
            return std::abs(got.red() - want.red()) < 40 && std::abs(got.green() - want.green()) < 40 &&
                   std::abs(got.blue() - want.blue()) < 40;
        },
        20000);
}

}  // namespace

TEST(CollageBorder, HalfWidthFieldResetsAndOnePictureAtATime) {
    TempDir media;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 1.0));
    EXPECT_EQ(h.w().borderWidth(), 4.0f);
    EXPECT_EQ(h.w().borderWidthText->text(), "2");
    const QString first = h.w().borderPath();
    ASSERT_TRUE(QFileInfo::exists(first));

    const QPoint grip = sliderGrip(h.w().borderWidthSlider);
    drag(h.w().borderWidthSlider, grip, grip + QPoint(h.w().borderWidthSlider->width() / 2, 0), 6);
    const float dragged = h.w().borderWidth();
    ASSERT_GT(dragged, 8.0f);
    EXPECT_EQ(h.w().borderWidthText->text(), QString::number(std::lround(dragged / 2)));
    EXPECT_FALSE(QFileInfo::exists(first)) << "the picture it no longer shows was kept";
    ASSERT_TRUE(QFileInfo::exists(h.w().borderPath()));

    click(h.w().resetBorderWidthBtn);
    EXPECT_EQ(h.w().borderWidth(), 10.0f);
    EXPECT_EQ(h.w().borderWidthSlider->value(), 10);
    EXPECT_EQ(h.w().borderWidthText->text(), "5");
    click(h.w().resetBorderColorBtn);
    EXPECT_EQ(h.w().borderColor(), QColor(Qt::white));
    const QString last = h.w().borderPath();
    EXPECT_TRUE(QFileInfo::exists(last));
    const QImage picture(last);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelColor(1, picture.height() / 2).rgb(), QColor(Qt::white).rgb());
}

TEST(CollageFilterPreview, TheFilterShowsBeforeOkAndPlays) {
    TempDir media;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 3.0));
    h.choose(h.w().filterBox, h.w().filterBox->count() - 1);
    auto* filters = qobject_cast<CollageFilterWindow*>(h.w().openSubWindow());
    ASSERT_NE(filters, nullptr);
    FilterPreviewPanel* panel = filters->previewPanel;
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(shows(panel->pictureArea, 0.25, 0.5, QColor(255, 0, 0)));
    int row = -1;
    for (int i = 0; i < filters->entries().size(); ++i)
        if (filters->entries()[i].id == "builtin.negative") row = i;
    ASSERT_GE(row, 0);
    clickAt(filters->list->viewport(), filters->list->visualItemRect(filters->list->item(row)).center());
    // Red through the negative, in the window's preview, while the collage itself is unfiltered.
    EXPECT_TRUE(shows(panel->pictureArea, 0.25, 0.5, QColor(0, 255, 255)));
    EXPECT_TRUE(h.w().spec().lookupPath.isEmpty());

    click(panel->playBtn);
    EXPECT_TRUE(panel->preview()->playing());
    EXPECT_TRUE(waitUntil([&] { return panel->positionSlider->value() >= 1; }, 20000));
    click(panel->stopBtn);
    EXPECT_FALSE(panel->preview()->playing());
    EXPECT_EQ(panel->preview()->positionUs(), 0);
    EXPECT_EQ(panel->positionSlider->value(), 0);
    // A click into the groove seeks there, in whole seconds.
    const QRect groove = panel->positionSlider->rect();
    clickAt(panel->positionSlider, QPoint(groove.right() - 2, groove.center().y()));
    EXPECT_GE(panel->positionSlider->value(), 1);
    EXPECT_EQ(panel->preview()->positionUs(), int64_t(panel->positionSlider->value()) * 1'000'000);

    click(filters->okBtn);
    ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
    EXPECT_TRUE(h.w().spec().lookupPath.endsWith("negative.cube"));
}
