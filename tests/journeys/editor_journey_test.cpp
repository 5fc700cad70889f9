// The editor as a new user uses each of its tiles: a small generated clip opened in the tile's
// window, the tile's edit set through its own controls (typed into fields and left, buttons
// pressed), the MP4 profile (1280x720, 25 fps) clicked in the format bar, Export pressed. Each
// export is judged by the media oracle against the ffmpeg command line doing the same work: the
// picture keeps its shape inside the profile's frame, black around it, and sound is where it
// belongs.
#include <gtest/gtest.h>

#include "editor/effects/kxfx_view.h"
#include "editor/editor_export_attachment.h"
#include "tests/journeys/editor_journey_helpers.h"
#include "tests/support/media_oracle.h"
#include "tests/support/user_input.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

namespace {

using kt::kFitInProfile;

kt::CompareOptions loose() { return kt::journeyTolerance(); }

}  // namespace

// Cut: the range typed into the start and end fields, 1.000 s to 3.000 s of a 4 s clip.
TEST(EditorJourney, CutKeepsTheTypedRangeWithItsSound) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 4.0, 320, 180);
    kt::EditorJourney journey(EditVideoWindowController::kToolTrim, clip);
    auto& v = journey.views();
    kt::typeInto(v.startSecondsField, QStringLiteral("01"), kt::Commit::Tab);
    kt::typeInto(v.stopSecondsField, QStringLiteral("03"), kt::Commit::Tab);
    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(journey.alerts().isEmpty()) << journey.alerts().join("; ").toStdString();

    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference =
        kt::makeReference(dir, "reference", {"-ss", "1", "-t", "2", "-i", clip, "-vf", kFitInProfile});
    EXPECT_TRUE(kt::framesMatch(out, reference, loose()));
    const kt::SoundLevels sound = kt::soundLevels(out);
    EXPECT_TRUE(kt::soundThroughout(sound, 0.1, 1.9));
    EXPECT_TRUE(kt::toneThroughout(sound, 0.1, 1.9, 440));
}

// Crop: a tall part typed into the crop fields (120x200 at 100,20 of 320x240). The profile's
// 16:9 frame holds it upright with black at both sides, never stretched.
TEST(EditorJourney, CropKeepsTheShapeOfTheTypedPart) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, 320, 240);
    kt::EditorJourney journey(EditVideoWindowController::kToolCrop, clip);
    auto& v = journey.views();
    // The size first, then the place (a new size keeps the box's centre).
    kt::typeInto(v.cropWidthField, QStringLiteral("120"), kt::Commit::Tab);
    kt::typeInto(v.cropHeightField, QStringLiteral("200"), kt::Commit::Tab);
    kt::typeInto(v.cropLeftField, QStringLiteral("100"), kt::Commit::Tab);
    kt::typeInto(v.cropTopField, QStringLiteral("20"), kt::Commit::Tab);
    const kestrel::model::RECT margins = journey.controller()->convertCropSize();
    ASSERT_EQ(margins.left, 100);
    ASSERT_EQ(margins.top, 20);
    ASSERT_EQ(320 - margins.left - margins.right, 120);
    ASSERT_EQ(240 - margins.top - margins.bottom, 200);
    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();

    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference = kt::makeReference(
        dir, "reference", {"-i", clip, "-vf", std::string("crop=120:200:100:20,") + kFitInProfile});
    EXPECT_TRUE(kt::framesMatch(out, reference, loose()));
    EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(out), 0.1, 1.9));
}

// Rotate: turned right once; the upright 180x320 picture stands in the 16:9 frame.
TEST(EditorJourney, RotateTurnsThePictureAndKeepsItsShape) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, 320, 180);
    kt::EditorJourney journey(EditVideoWindowController::kToolRotate, clip);
    kt::click(journey.views().right_ratioBtn);
    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();

    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference =
        kt::makeReference(dir, "reference", {"-i", clip, "-vf", std::string("transpose=clock,") + kFitInProfile});
    EXPECT_TRUE(kt::framesMatch(out, reference, loose()));
    EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(out), 0.1, 1.9));
}

// Speed: "2.00" typed into the speed field and left; the 4 s clip plays in 2 s showing every
// second source frame (the slider was never touched).
TEST(EditorJourney, SpeedTypedIntoItsFieldIsExported) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 4.0, 320, 180);
    kt::EditorJourney journey(EditVideoWindowController::kToolEffect, clip);
    kestrel::editor::KxfxView* panel = journey.controller()->exportAttachment()->effectPanel();
    ASSERT_NE(panel, nullptr);
    // The field takes typing once the window has settled (a moment after it opens).
    ASSERT_TRUE(kt::waitUntil([&] { return !panel->speedValueLabel->isReadOnly(); }, 5000));
    kt::typeInto(panel->speedValueLabel, QStringLiteral("2.00"), kt::Commit::Tab);
    ASSERT_DOUBLE_EQ(panel->speed(), 2.0);
    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();

    EXPECT_TRUE(kt::decodesCleanly(out));
    const kt::FrameMapping mapping = kt::mapFrames(out, clip);
    ASSERT_TRUE(mapping.error.empty()) << mapping.error;
    std::vector<int> everySecond;
    for (int frame = 0; frame < 100; frame += 2) everySecond.push_back(frame);
    EXPECT_TRUE(kt::showsSourceSequence(mapping, everySecond));
}
