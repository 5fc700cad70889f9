// The editor's music tile as a new user uses it with a trimmed video: the range 4 s to 8 s of a
// silent 10 s clip typed into the trim fields, a 1.5 s tone added with the music panel's Add
// button while the playhead stands near 5 s. The music is placed on the video the user sees, so
// in the 4 s export it sounds from about 1.0 s to 2.5 s and nowhere else; the picture is the range.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/music/music_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "engine/player/DIVuverIzizud.h"
#include "services/language.h"
#include "tests/journeys/editor_journey_helpers.h"
#include "tests/support/media_oracle.h"
#include "tests/support/user_input.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

TEST(EditorJourney, MusicAddedAtThePlayheadSoundsWhereItWasPlacedInATrimmedExport) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 10.0, 320, 180, /*withSound=*/false);
    kt::FixtureSpec toneSpec;
    toneSpec.width = 0;
    toneSpec.duration_s = 1.5;
    const std::string tone = dir.file("tone.m4a");
    kt::makeMedia(tone, toneSpec);
    ASSERT_TRUE(kt::toneThroughout(kt::soundLevels(tone), 0.1, 1.4, 440));

    kt::EditorJourney journey(EditVideoWindowController::kToolMusic, clip);
    auto& v = journey.views();
    kestrel::editor::MusicPanel& music = *journey.controller()->sidePanels()->musicPanel();

    // The playhead set by a click in the middle of the range bar, near 5 s.
    kt::click(v.cutButton);
    const QRect track = kt::drawnTrack(v.cutProgressView);
    kt::clickAt(v.cutProgressView, QPoint(track.left() + track.width() / 2, track.center().y()));
    ASSERT_TRUE(kt::waitUntil(
        [&] { return std::abs(journey.controller()->rdPlayer()->currentTime().seconds() - 5.0) < 0.3; }, 5000))
        << journey.controller()->rdPlayer()->currentTime().seconds();

    kt::click(v.addmusicButton);
    kestrel::widgets::setOpenPanelRunner(
        [&](const kestrel::widgets::OpenPanelRequest&) { return QStringList{QString::fromStdString(tone)}; });
    kt::click(music.addButton());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_EQ(music.musicList().size(), 1) << journey.alerts().join("; ").toStdString();
    const double placed = music.musicList()[0].positionStart;
    ASSERT_NEAR(placed, 5.0, 0.3);

    // The range 4 s to 8 s typed in.
    kt::click(v.cutButton);
    kt::typeInto(v.stopSecondsField, QStringLiteral("08"), kt::Commit::Tab);
    kt::typeInto(v.startSecondsField, QStringLiteral("04"), kt::Commit::Tab);

    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(journey.alerts().isEmpty()) << journey.alerts().join("; ").toStdString();

    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference =
        kt::makeReference(dir, "reference", {"-ss", "4", "-t", "4", "-i", clip, "-vf", kt::kFitInProfile});
    EXPECT_TRUE(kt::framesMatch(out, reference, kt::journeyTolerance()));
    // Per 100 ms: silence before the music, the tone where it was placed, silence after it.
    const kt::SoundLevels sound = kt::soundLevels(out);
    // Whole 100 ms windows clear of the music's edges (at placed - 4 s and 1.5 s later).
    const double from = std::ceil((placed - 4.0) * 10) / 10, to = std::floor((placed - 2.5) * 10) / 10;
    EXPECT_TRUE(kt::silenceThroughout(sound, 0.0, from - 0.1)) << sound.describe();
    EXPECT_TRUE(kt::soundThroughout(sound, from + 0.1, to - 0.1)) << sound.describe();
    EXPECT_TRUE(kt::toneThroughout(sound, from + 0.1, to - 0.1, 440)) << sound.describe();
    EXPECT_TRUE(kt::silenceThroughout(sound, to + 0.1, 3.9)) << sound.describe();
}

// The video's own sound muted with its button, and the music's used part typed shorter: "1"
// second is taken, a length of nothing is refused with a message and the fields show the length
// kept. The export holds the music's first second and silence after it.
TEST(EditorJourney, OriginalSoundMutedAndTheMusicsPartTypedShorter) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, 320, 180);
    kt::FixtureSpec toneSpec;
    toneSpec.width = 0;
    toneSpec.duration_s = 2.0;
    const std::string tone = dir.file("tone.m4a");
    kt::makeMedia(tone, toneSpec);

    kt::EditorJourney journey(EditVideoWindowController::kToolMusic, clip);
    kestrel::editor::MusicPanel& music = *journey.controller()->sidePanels()->musicPanel();
    kestrel::widgets::setOpenPanelRunner(
        [&](const kestrel::widgets::OpenPanelRequest&) { return QStringList{QString::fromStdString(tone)}; });
    kt::click(music.addButton());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_EQ(music.musicList().size(), 1) << journey.alerts().join("; ").toStdString();
    kt::click(music.originalMuteButton());
    EXPECT_EQ(music.originalVolume(), 0.0);

    kt::click(music.pruneButton());  // the used part's rows
    auto& length = music.timeRow(kestrel::editor::MusicPanel::kPruneLength).fields;
    kt::typeInto(length[3], QStringLiteral("000"), kt::Commit::Tab);
    kt::typeInto(length[2], QStringLiteral("01"), kt::Commit::Tab);
    ASSERT_FLOAT_EQ(music.musicList()[0].pruneDuration, 1.0f);
    kt::typeInto(length[2], QStringLiteral("00"), kt::Commit::Tab);
    ASSERT_EQ(journey.alerts().size(), 1);
    EXPECT_EQ(journey.alerts()[0], services::localized("showmessageTime6"));
    EXPECT_FLOAT_EQ(music.musicList()[0].pruneDuration, 1.0f);
    EXPECT_EQ(length[2]->text().toInt(), 1) << "the field shows the length kept";

    ASSERT_TRUE(journey.clickProfile(QStringLiteral("MP4")));
    const std::string out = journey.exportWithButton(dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(kt::decodesCleanly(out));
    EXPECT_TRUE(kt::framesMatch(out, kt::makeReference(dir, "reference", {"-i", clip, "-vf", kt::kFitInProfile}),
                                kt::journeyTolerance()));
    const kt::SoundLevels sound = kt::soundLevels(out);
    EXPECT_TRUE(kt::soundThroughout(sound, 0.1, 0.9)) << sound.describe();
    EXPECT_TRUE(kt::silenceThroughout(sound, 1.1, 1.9)) << sound.describe();
}
