// The shipped effect list: every entry is a real effect, drawn alike by the preview and the export.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "editor/effects/effect_list.h"
#include "engine/core/effect_chains.h"
#include "export/profiles/profile_choice.h"
#include "services/language.h"
#include "session/edit/effect_catalogue.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

namespace kestrel::test {
namespace {

TEST(EffectList, ShippedEntriesAreNamedAndKnownToTheEngines) {
    const QList<kestrel::editor::EffectItem> items = kestrel::editor::loadBundledEffectList();
    ASSERT_GE(items.size(), 12);
    kestrel::session::registerEditorEffects();
    QSet<int> ids;
    for (const kestrel::editor::EffectItem& item : items) {
        SCOPED_TRACE(item.name.toStdString());
        EXPECT_FALSE(item.isCheck);
        EXPECT_FALSE(item.selected);
        ids.insert(item.effectId);
        EXPECT_NE(item.effectId, engine::kMagicEnhanceEffect);  // magic enhance has its own toggle
        EXPECT_FALSE(engine::imageEffectChain(item.effectId).empty());
        EXPECT_NE(services::localized(item.name), item.name);  // a translated name
    }
    EXPECT_EQ(ids.size(), items.size());
}

TEST(EffectList, ReadsIdsAsNumbersOrTextAndRefusesBrokenFiles) {
    TempDir dir;
    const std::string good = dir.file("good.plist");
    writeBytes(good,
               "<?xml version=\"1.0\"?><plist version=\"1.0\"><array>"
               "<dict><key>EffectName</key><string>A</string><key>EffectId</key><integer>12</integer></dict>"
               "<dict><key>EffectId</key><string>12</string><key>EffectName</key><string>B</string></dict>"
               "</array></plist>");
    const QList<kestrel::editor::EffectItem> items = kestrel::editor::loadEffectList(QString::fromStdString(good));
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].name, "A");
    EXPECT_EQ(items[0].effectId, 12);
    EXPECT_EQ(items[1].name, "B");
    EXPECT_EQ(items[1].effectId, 12);

    const std::string broken = dir.file("broken.plist");
    writeBytes(broken, "<plist><array><dict><key>EffectName</key><string>A");
    EXPECT_TRUE(kestrel::editor::loadEffectList(QString::fromStdString(broken)).isEmpty());
    EXPECT_TRUE(kestrel::editor::loadEffectList(QString::fromStdString(dir.file("missing.plist"))).isEmpty());
    const std::string empty = dir.file("empty.plist");
    writeBytes(empty, "");
    EXPECT_TRUE(kestrel::editor::loadEffectList(QString::fromStdString(empty)).isEmpty());
}

// Each effect visibly changes the picture, and the exported frame matches what the preview
// showed for the same source time (a lossless codec keeps compression out of the comparison).
TEST(EffectList, EveryEffectChangesTheFrameAndExportMatchesPreview) {
    kestrel::session::registerEditorEffects();
    QList<int> ids;
    for (const kestrel::editor::EffectItem& item : kestrel::editor::loadBundledEffectList()) ids.append(item.effectId);
    ids.append(engine::kMagicEnhanceEffect);

    auto player = player::DIVuverIzizud::initWithString(standardClip(), QRectF(0, 0, 320, 240));
    ASSERT_NE(player, nullptr);
    const double at_s = 0.4;
    player->seekTime(platform::MediaTime::fromSeconds(at_s));
    int w = 0, h = 0;
    const std::vector<unsigned char> plain = snapshotRGB(*player, &w, &h);
    ASSERT_EQ(w, 320);

    for (int id : ids) {
        SCOPED_TRACE(id);
        player->ClearImageEffect();
        ASSERT_EQ(player->AddImageEffect(id), 1);
        player->Refresh();
        const std::vector<unsigned char> shown = snapshotRGB(*player, &w, &h);
        const double change = meanAbsDiff(plain, shown);
        // Magic enhance is a gentle clean-up; the listed effects are meant to be seen.
        EXPECT_GT(change, id == engine::kMagicEnhanceEffect ? 1.0 : 4.0);

        TempDir out;
        setEditorChoice({{exportkit::ChoiceKeys::editor().vcodec, "ffv1"}});
        ExportHarness harness(standardClip());
        harness.record->targetData.extension = "mkv";
        harness.edits.trimStart_us = (0) * 1000000LL + (400) * 1000LL;
        harness.edits.trimStop_us = (0) * 1000000LL + (520) * 1000LL;
        harness.edits.effectIds = {id};
        harness.start(out.path());
        ASSERT_TRUE(harness.waitForEnd());
        ASSERT_TRUE(harness.alerts.isEmpty()) << harness.alerts.join(", ").toStdString();
        const std::vector<unsigned char> exported =
            decodeFrameRGB(harness.record->exportPath.toStdString(), 0.0, 320, 240);
        const double mismatch = meanAbsDiff(shown, exported);
        // Effects drawn in RGB pass through 4:2:0 in the file; the others match exactly.
        EXPECT_LT(mismatch, 3.5);
        EXPECT_LT(mismatch * 3, change);
    }
}

}  // namespace
}  // namespace kestrel::test
