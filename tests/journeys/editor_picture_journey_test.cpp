// The editor's picture tiles as a new user uses them: effect (a row of the effect list checked),
// filter (colour values typed into their fields and left) and image enhancement (the tile opens
// with magic enhance on). Each export, made with the MP4 profile, is judged frame by frame
// against the ffmpeg command line drawing the same look on the profile's fitted picture, and its
// sound is the clip's own.
#include <gtest/gtest.h>

#include <QScrollArea>

#include "editor/editor_export_attachment.h"
#include "editor/effects/kxfx_view.h"
#include "tests/journeys/editor_journey_helpers.h"
#include "tests/support/media_oracle.h"
#include "tests/support/user_input.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

namespace {

// The look drawn on the fitted picture, then the profile's padding (a 16:9 clip needs none).
std::vector<std::string> referenceWithLook(const std::string& clip, const std::string& look) {
    return {"-i", clip, "-vf", std::string(kt::kFitToProfile) + "," + look + "," + kt::kPadToProfile};
}

// The export with the MP4 profile, judged against the reference; the clip's 440 Hz tone kept.
void expectExportShows(kt::EditorJourney& journey, const kt::TempDir& dir, const std::string& clip,
                       const std::string& look) {
    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(journey.alerts().isEmpty()) << journey.alerts().join("; ").toStdString();

    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference = kt::makeReference(dir, "reference", referenceWithLook(clip, look));
    EXPECT_TRUE(kt::framesMatch(out, reference, kt::journeyTolerance()));
    const kt::SoundLevels sound = kt::soundLevels(out);
    EXPECT_TRUE(kt::soundThroughout(sound, 0.1, 1.9));
    EXPECT_TRUE(kt::toneThroughout(sound, 0.1, 1.9, 440));
}

}  // namespace

// Effect: the "Negative" row's check box clicked (the list scrolled to it first).
TEST(EditorJourney, EffectCheckedInTheListIsExported) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, 320, 180);
    kt::EditorJourney journey(EditVideoWindowController::kToolEffect, clip);
    kestrel::editor::KxfxView* panel = journey.controller()->exportAttachment()->effectPanel();
    ASSERT_NE(panel, nullptr);
    int row = -1;
    for (int i = 0; i < panel->effectTypes().size(); ++i)
        if (panel->effectTypes()[i].name == QStringLiteral("EffectNegative")) row = i;
    ASSERT_GE(row, 0);
    QWidget* item = panel->effectItems()[row];
    panel->filterScrollView->ensureWidgetVisible(item);
    kt::clickAt(item, QPoint(17, item->height() / 2));  // the row's check box
    ASSERT_TRUE(panel->effectTypes()[row].isCheck);
    expectExportShows(journey, dir, clip, "negate");
}

// Filter: brightness 51, contrast 30 and saturation -50 typed into their fields, each left with
// Tab: eq's brightness 51/255, contrast 1.3, saturation 0.5.
TEST(EditorJourney, ColourValuesTypedIntoTheirFieldsAreExported) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, 320, 180);
    kt::EditorJourney journey(EditVideoWindowController::kToolEffect, clip);
    kestrel::editor::KxfxView* panel = journey.controller()->exportAttachment()->effectPanel();
    ASSERT_NE(panel, nullptr);
    kt::typeInto(panel->brightnessValueLabel, QStringLiteral("51"), kt::Commit::Tab);
    kt::typeInto(panel->contrastValueLabel, QStringLiteral("30"), kt::Commit::Tab);
    kt::typeInto(panel->saturationValueLabel, QStringLiteral("-50"), kt::Commit::Tab);
    ASSERT_EQ(panel->brightness(), 51);
    ASSERT_EQ(panel->contrast(), 30);
    ASSERT_EQ(panel->saturation(), -50);
    expectExportShows(journey, dir, clip, "eq=brightness=0.2:contrast=1.3:saturation=0.5");
}

// Image enhancement: the tile turns magic enhance on by itself; denoised, sharpened and a little
// more contrast and colour.
TEST(EditorJourney, ImageEnhancementTileExportsTheEnhancedPicture) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, 320, 180);
    kt::EditorJourney journey(EditVideoWindowController::kToolEffect, clip, /*magicEnhance=*/true);
    kestrel::editor::KxfxView* panel = journey.controller()->exportAttachment()->effectPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(kt::waitUntil([&] { return panel->magicEnhanceOn(); }, 5000));
    EXPECT_TRUE(panel->magicEnhance->selected());
    expectExportShows(journey, dir, clip,
                      "hqdn3d=2:1.5:3:3,unsharp=5:5:0.6:5:5:0.0,eq=contrast=1.05:saturation=1.15");
}
