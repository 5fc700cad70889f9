// The shared clip list: selection and its reports, the single reference clip, transitions,
// per-row progress and the rows of audio files.
#include "services/language.h"
#include "tests/support/user_input.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/inset_button.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using kestrel::model::SimpleDataPtr;
using kestrel::tools::shared::ClipListCell;
using kestrel::tools::shared::ClipListView;

namespace {

SimpleDataPtr record(const QString& name, int width = 320, int height = 240) {
    auto r = kestrel::model::makeSimpleData();
    r->path = "/media/" + name;
    r->name = name;
    r->sourceData.width = width;
    r->sourceData.height = height;
    r->sourceData.duration = 10;
    r->sourceData.fileSize = 2.5;
    r->cutTimeRange_start = 2'000'000;
    r->cutTimeRange_stop = 7'000'000;
    return r;
}

struct ListFixture : ::testing::Test {
    ClipListView list;
    QList<SimpleDataPtr> reported;
    QList<SimpleDataPtr> records{record("a.mp4"), record("b.mp4"), record("c.mp3", 0, 0)};

    void SetUp() override {
        list.resize(700, 400);
        list.setRowHeight(100);
        list.setSelectItemCallback([this](const SimpleDataPtr& r) { reported.append(r); });
        list.show();
    }
    void press(int row) { QTest::mouseClick(list.cell(row), Qt::LeftButton, {}, QPoint(5, 5)); }
};

TEST_F(ListFixture, ReloadSelectsAndReportsRowUnlessSuppressed) {
    list.setItems({});
    list.reloadData();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.selectedItem(), nullptr);
    EXPECT_TRUE(reported.isEmpty());

    list.setItems(records);
    list.reloadData();
    ASSERT_EQ(list.rowCount(), 3);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(reported.last(), records[0]);
    EXPECT_TRUE(list.cell(0)->selected());

    // A moved row is highlighted without a report; the next press reports again.
    list.setSelectedRow(2);
    list.setSelectionReportSuppressed(true);
    list.reloadData();
    EXPECT_EQ(reported.size(), 1);
    EXPECT_EQ(list.selectedItem(), records[2]);
    EXPECT_TRUE(list.cell(2)->selected());
    EXPECT_FALSE(list.cell(0)->selected());

    press(1);
    ASSERT_EQ(reported.size(), 2);
    EXPECT_EQ(reported.last(), records[1]);
    EXPECT_EQ(list.selectedRow(), 1);
    EXPECT_FALSE(list.cell(2)->selected());
    // Pressing the selected row again neither reports nor clears it.
    press(1);
    EXPECT_EQ(reported.size(), 2);
    EXPECT_TRUE(list.cell(1)->selected());
}

TEST_F(ListFixture, ShrunkListAfterSetItemsKeepsAValidSelection) {
    list.setItems(records);
    list.reloadData();
    press(2);
    records.removeAt(2);
    list.setItems(records);
    list.reloadData();
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(list.selectedItem(), records[0]);
    press(1);
    EXPECT_EQ(list.selectedItem(), records[1]);
    EXPECT_FALSE(list.cell(0)->selected());
}

TEST_F(ListFixture, RowShowsRecordAndAudioRowsHaveNoFrameSizeOrReferenceBox) {
    list.setReferenceChangedCallback([](const SimpleDataPtr&) {});
    list.setItems(records);
    list.reloadData();
    ClipListCell* video = list.cell(0);
    EXPECT_EQ(video->nameLabel()->text(), "a.mp4");
    EXPECT_EQ(video->frameLabel()->text(), "320x240");
    EXPECT_EQ(video->sizeLabel()->text(), "2.5MB");
    EXPECT_TRUE(video->referenceBox()->isVisible());

    ClipListCell* audio = list.cell(2);
    EXPECT_FALSE(audio->frameLabel()->isVisible());
    EXPECT_EQ(audio->sizeLabel()->x(), audio->frameLabel()->x());
    EXPECT_FALSE(audio->referenceBox()->isVisible());
}

TEST_F(ListFixture, CutLengthIsTheMarkedRangeWhetherKeptOrRemoved) {
    records[0]->isTrimFanxuan = true;
    list.setItems(records);
    list.reloadData();
    EXPECT_EQ(list.cell(0)->cutLengthLabel()->text(), list.cell(1)->cutLengthLabel()->text());
    EXPECT_NE(list.cell(0)->cutLengthLabel()->text(), list.cell(0)->durationLabel()->text());
}

TEST_F(ListFixture, AtMostOneReferenceClipAndTheWindowIsToldEachTime) {
    QList<SimpleDataPtr> told;
    list.setReferenceChangedCallback([&](const SimpleDataPtr& r) { told.append(r); });
    list.setItems(records);
    list.reloadData();
    auto clickBox = [&](int row) {
        QTest::mouseClick(list.cell(row)->referenceBox(), Qt::LeftButton);
        QTest::qWait(20);
    };
    clickBox(0);
    EXPECT_TRUE(records[0]->defaultFormat);
    clickBox(1);
    EXPECT_FALSE(records[0]->defaultFormat);
    EXPECT_TRUE(records[1]->defaultFormat);
    EXPECT_FALSE(list.cell(0)->referenceChecked());
    clickBox(1);
    EXPECT_FALSE(records[1]->defaultFormat);
    ASSERT_EQ(told.size(), 3);
    EXPECT_EQ(told[2], records[1]);
}

TEST_F(ListFixture, OptionalPartsFollowTheCallbacksSet) {
    list.setItems(records);
    list.reloadData();
    for (int i = 0; i < list.rowCount(); ++i) {
        EXPECT_FALSE(list.cell(i)->transitionButton()->isVisible()) << i;
        EXPECT_FALSE(list.cell(i)->referenceBox()->isVisible()) << i;
    }
    QList<std::pair<int, int>> changes;
    list.setTransitionChangedCallback([&](int row, int t) { changes.append({row, t}); });
    list.reloadData();
    EXPECT_TRUE(list.cell(0)->transitionButton()->isVisible());
    EXPECT_TRUE(list.cell(1)->transitionButton()->isVisible());
    EXPECT_FALSE(list.cell(2)->transitionButton()->isVisible());  // the last clip
    list.cell(1)->chooseTransition(3);
    EXPECT_EQ(records[1]->transitionEffect, 3);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0], std::make_pair(1, 3));
}

TEST_F(ListFixture, ProgressBarsOfRows) {
    list.setItems(records);
    list.reloadData();
    list.showProgress(1);
    list.showProgress(2);
    // Rows shown one after another stay highlighted until the next reload.
    EXPECT_TRUE(list.cell(1)->selected());
    EXPECT_TRUE(list.cell(2)->selected());
    EXPECT_TRUE(list.cell(2)->progressVisible());
    list.setExportProgress(0.0f);
    EXPECT_TRUE(list.cell(2)->progressVisible());
    list.setExportProgress(0.5f);
    EXPECT_FLOAT_EQ(list.cell(2)->progress(), 0.5f);
    list.setExportProgress(1.0f);
    EXPECT_FALSE(list.cell(2)->progressVisible());
    list.hiddenProgress(1);
    EXPECT_FALSE(list.cell(1)->progressVisible());
    list.showProgress(7);  // no such row
    EXPECT_EQ(list.selectedRow(), 2);
}

TEST(ClipListSizeText, Units) {
    EXPECT_EQ(kestrel::tools::shared::fileSizeText(12.34), "12.3MB");
    EXPECT_EQ(kestrel::tools::shared::fileSizeText(0.5), "512.0KB");
    EXPECT_EQ(kestrel::tools::shared::fileSizeText(100.0 / 1024 / 1024), "100.0B");
}

TEST(InsetButtonFrames, InsetsMoveAndResizeByDifferences) {
    const QRect frame(0, 0, 100, 20);
    EXPECT_EQ(kestrel::tools::shared::insetFrame(frame, {}), frame);
    EXPECT_EQ(kestrel::tools::shared::insetFrame(frame, QMargins(10, 0, 10, 0)), QRect(10, 0, 100, 20));
}

}  // namespace

namespace {

// A person picks a transition from the row's menu: the kit's menu rows, the last choice
// highlighted when it opens again; a press on a row's picture selects the row as one beside it
// does; and rows locked for a run stay locked when the list is rebuilt.
TEST_F(ListFixture, TransitionMenuPictureAndLockAsAPersonUsesThem) {
    QList<std::pair<int, int>> changes;
    list.setTransitionChangedCallback([&](int row, int t) { changes.append({row, t}); });
    list.setItems(records);
    list.reloadData();
    reported.clear();

    const QString fade = services::localized("FADEOUTItemTitle");
    const auto chosen = kestrel::test::chooseInNextMenu(fade);
    kestrel::test::click(list.cell(0)->transitionButton());
    ASSERT_TRUE(kestrel::test::waitUntil([&] { return *chosen; }, 5000));
    ASSERT_TRUE(kestrel::test::waitUntil([&] { return !changes.isEmpty(); }, 5000));
    EXPECT_EQ(records[0]->transitionEffect, 3);
    EXPECT_EQ(changes.last(), std::make_pair(0, 3));
    EXPECT_EQ(list.cell(0)->transitionButton()->text(), fade);
    EXPECT_EQ(list.cell(0)->menuIndex(), 3);

    // Pointed at where the row's picture is drawn: the press is the row's.
    kestrel::widgets::ZorImageView* picture = list.cell(1)->thumbnailView();
    kestrel::test::clickAt(list.cell(1), picture->geometry().center());
    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(reported.last(), records[1]);
    EXPECT_EQ(list.selectedRow(), 1);

    list.setRowsEnabled(false);
    list.setItems(records);
    list.setSelectedRow(0);
    list.reloadData();
    reported.clear();
    kestrel::test::clickAt(list.cell(2), QPoint(8, 8));
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_FALSE(list.rowsEnabled());
}

}  // namespace
