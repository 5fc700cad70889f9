// The effect, colour and speed panel against a real preview player.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "editor/effects/effect_list.h"
#include "editor/effects/kxfx_view.h"
#include "engine/core/effect_chains.h"
#include "session/edit/edit_state.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

TEST(EffectPanel, SliderMappings) {
    EXPECT_FLOAT_EQ(kestrel::editor::speedForProgress(0), 0.1f);
    EXPECT_FLOAT_EQ(kestrel::editor::speedForProgress(1), 4.0f);
    EXPECT_NEAR(kestrel::editor::speedForProgress(kestrel::editor::progressForSpeed(1.0)), 1.0f, 1e-6);
    struct Case {
        float progress;
        int brightness, contrast;
    };
    const Case cases[] = {{0, -255, -100}, {1, 255, 100}, {0.5f, 0, 0}, {0.7501f, 127, 50}, {0.25f, -127, -50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.progress);
        EXPECT_EQ(kestrel::editor::brightnessForProgress(c.progress), c.brightness);  // truncated, not rounded
        EXPECT_EQ(kestrel::editor::contrastForProgress(c.progress), c.contrast);
    }
    EXPECT_FLOAT_EQ(kestrel::editor::progressForBrightness(-255), 0);
    EXPECT_FLOAT_EQ(kestrel::editor::progressForContrast(100), 1);
}

struct PanelFixture : ::testing::Test {
    void SetUp() override {
        player = player::DIVuverIzizud::initWithString(standardClip(), QRectF(0, 0, 320, 240));
        ASSERT_NE(player, nullptr);
        player->seekTime(platform::MediaTime::fromSeconds(0.4));
        plain = shown();
        record = kestrel::model::makeSimpleData();
        panel = std::make_unique<kestrel::editor::KxfxView>();
        panel->setPlayer(player.get());
        panel->setFileData(record);
        panel->enableEdit(true);
        panel->show();
    }
    std::vector<unsigned char> shown() {
        int w = 0, h = 0;
        return snapshotRGB(*player, &w, &h);
    }
    // What a fresh player shows at the same time with these effects added in this order.
    std::vector<unsigned char> reference(const std::vector<int>& ids) {
        auto other = player::DIVuverIzizud::initWithString(standardClip(), QRectF(0, 0, 320, 240));
        other->seekTime(platform::MediaTime::fromSeconds(0.4));
        for (int id : ids) other->AddImageEffect(id);
        other->Refresh();
        int w = 0, h = 0;
        return snapshotRGB(*other, &w, &h);
    }
    int indexOf(int effectId) const {
        const auto& list = panel->effectTypes();
        for (int i = 0; i < list.size(); ++i)
            if (list[i].effectId == effectId) return i;
        return -1;
    }
    void clickCheck(int index) { QTest::mouseClick(panel->effectItems()[index], Qt::LeftButton, {}, QPoint(17, 15)); }
    void clickName(int index) { QTest::mouseClick(panel->effectItems()[index], Qt::LeftButton, {}, QPoint(120, 15)); }

    std::unique_ptr<player::DIVuverIzizud> player;
    std::vector<unsigned char> plain;
    kestrel::model::SimpleDataPtr record;
    std::unique_ptr<kestrel::editor::KxfxView> panel;
};

// Effects reach the preview in list order, whatever order they were checked in, with magic
// enhance last; the export takes the same.
TEST_F(PanelFixture, CheckedEffectsApplyInListOrderThenMagicEnhance) {
    const int negative = indexOf(10), sepia = indexOf(2);
    ASSERT_GE(negative, 0);
    ASSERT_GE(sepia, 0);
    ASSERT_LT(sepia, negative);
    clickCheck(negative);
    clickCheck(sepia);
    EXPECT_TRUE(panel->effectTypes()[negative].isCheck);
    EXPECT_TRUE(panel->effectTypes()[sepia].isCheck);
    EXPECT_LT(meanAbsDiff(shown(), reference({2, 10})), 0.5);
    EXPECT_GT(meanAbsDiff(shown(), reference({10, 2})), 5.0);  // the order shows

    QTest::mouseClick(panel->magicEnhance, Qt::LeftButton);
    EXPECT_TRUE(panel->magicEnhanceOn());
    EXPECT_LT(meanAbsDiff(shown(), reference({2, 10, engine::kMagicEnhanceEffect})), 0.5);

    kestrel::session::EditState edits;
    panel->fillEditState(edits);
    EXPECT_EQ(edits.effectsToApply(), (QList<int32_t>{2, 10, engine::kMagicEnhanceEffect}));
}

TEST_F(PanelFixture, SingleClickHighlightsAndDoubleClickSwitches) {
    const int row = indexOf(1);
    clickName(row);
    EXPECT_TRUE(panel->effectTypes()[row].selected);
    EXPECT_FALSE(panel->effectTypes()[row].isCheck);
    EXPECT_EQ(panel->selectedEffectIndex(), row);
    EXPECT_LT(meanAbsDiff(shown(), plain), 0.5);  // highlighting leaves the preview alone

    clickName(row);  // within the latch: the second click of a double click
    EXPECT_TRUE(panel->effectTypes()[row].isCheck);
    EXPECT_LT(meanAbsDiff(shown(), reference({1})), 0.5);
    clickName(row);  // a third quick click switches it back
    EXPECT_FALSE(panel->effectTypes()[row].isCheck);

    panel->effectItems()[row]->mouseUpAfter();  // the latch ran out
    clickName(indexOf(2));
    EXPECT_FALSE(panel->effectTypes()[row].selected);
    EXPECT_TRUE(panel->effectTypes()[indexOf(2)].selected);
    EXPECT_FALSE(panel->effectTypes()[indexOf(2)].isCheck);
}

TEST_F(PanelFixture, ColourSpeedAndResetReachThePreviewAndTheRecord) {
    // A typed value, once committed with Return, moves its slider and shows at once.
    panel->brightnessValueLabel->clear();
    QTest::keyClicks(panel->brightnessValueLabel, "120");
    QTest::keyClick(panel->brightnessValueLabel, Qt::Key_Return);
    EXPECT_FLOAT_EQ(panel->brightnessSlider->progress(), kestrel::editor::progressForBrightness(120));
    EXPECT_GT(meanAbsDiff(shown(), plain), 20.0);

    panel->actionProgressForProgressSliderBlock(panel->contrastSlider, 1.0f);
    EXPECT_EQ(panel->contrastValueLabel->text(), "100");
    panel->actionProgressForProgressSliderBlock(panel->speedSlider, 1.0f);
    EXPECT_DOUBLE_EQ(panel->speed(), 4.0);
    EXPECT_EQ(panel->speedValueLabel->text(), "4.00");
    clickCheck(indexOf(10));
    QTest::mouseClick(panel->magicEnhance, Qt::LeftButton);

    QTest::mouseClick(panel->effectReset, Qt::LeftButton);
    EXPECT_EQ(panel->brightness(), 0);
    EXPECT_EQ(panel->contrast(), 0);
    EXPECT_DOUBLE_EQ(panel->speed(), 1.0);
    EXPECT_FALSE(panel->magicEnhanceOn());
    for (const kestrel::editor::EffectItem& item : panel->effectTypes()) EXPECT_FALSE(item.isCheck);
    EXPECT_FLOAT_EQ(panel->brightnessSlider->progress(), 0.5f);
    EXPECT_LT(meanAbsDiff(shown(), plain), 0.5);
}

TEST(EffectPanel, OpenedForImageEnhancementStartsEnhanced) {
    auto player = player::DIVuverIzizud::initWithString(standardClip(), QRectF(0, 0, 320, 240));
    ASSERT_NE(player, nullptr);
    player->seekTime(platform::MediaTime::fromSeconds(0.4));
    int w = 0, h = 0;
    const std::vector<unsigned char> plain = snapshotRGB(*player, &w, &h);
    kestrel::editor::KxfxView panel(QList<kestrel::editor::EffectItem>{}, nullptr);  // an empty list is fine
    EXPECT_TRUE(panel.effectItems().isEmpty());
    panel.setPlayer(player.get());
    panel.setIsMagicEnhance(true);
    EXPECT_TRUE(panel.speedValueLabel->isReadOnly());
    panel.magicEnhanceAction();
    EXPECT_TRUE(panel.magicEnhanceOn());
    EXPECT_FALSE(panel.speedValueLabel->isReadOnly());
    EXPECT_GT(meanAbsDiff(snapshotRGB(*player, &w, &h), plain), 1.0);
}

}  // namespace
}  // namespace kestrel::test

#include "editor/effects/effect_table_cell_view.h"

namespace kestrel::test {
namespace {

struct CellRecorder : kestrel::editor::EffectTableCellViewDelegate {
    QStringList events;
    bool takesSelectedForCell = true;
    void actionMouseDownForEffectTableCellViewBlock(kestrel::editor::EffectTableCellView*, int64_t row) override {
        events << QString("down %1").arg(row);
    }
    void actionSelectedForEffectTableCellViewBlock(kestrel::editor::EffectTableCellView*, int64_t row) override {
        events << QString("check %1").arg(row);
    }
    void actionSelectedBlock(kestrel::editor::EffectTableCellView*, bool selected, int64_t row) override {
        events << QString("selected %1 %2").arg(selected).arg(row);
    }
    bool answersSelectedForCell() const override { return takesSelectedForCell; }
    bool answersSelectedBlock() const override { return true; }
};

TEST(EffectTableCell, ReportsClicksWhileEnabledAndColoursItsRow) {
    kestrel::editor::EffectTableCellView cell(QRect(0, 0, 200, 30));
    CellRecorder recorder;
    cell.setDelegate(&recorder);
    cell.setRow(3);
    cell.show();
    QTest::mouseClick(&cell, Qt::LeftButton, {}, QPoint(17, 15));  // the check mark
    QTest::mouseClick(&cell, Qt::LeftButton, {}, QPoint(120, 15));
    cell.setSelectedRow(true);
    EXPECT_EQ(recorder.events, (QStringList{"check 3", "down 3", "selected 1 3"}));
    EXPECT_EQ(cell.titleColour(), QColor(33, 176, 235));
    EXPECT_EQ(cell.rowFill(), QColor(33, 176, 235));

    recorder.events.clear();
    recorder.takesSelectedForCell = false;
    cell.selected(true);
    EXPECT_EQ(recorder.events, QStringList{"selected 1 3"});

    recorder.events.clear();
    cell.setEnable(false);
    QTest::mouseClick(&cell, Qt::LeftButton, {}, QPoint(17, 15));
    QTest::mouseClick(&cell, Qt::LeftButton, {}, QPoint(120, 15));
    EXPECT_TRUE(recorder.events.isEmpty());
    EXPECT_EQ(cell.titleColour(), QColor(173, 173, 173));

    cell.setRow(kestrel::editor::EffectTableCellView::kNoBackgroundRow);
    EXPECT_FALSE(cell.rowFill().has_value());
}

}  // namespace
}  // namespace kestrel::test
