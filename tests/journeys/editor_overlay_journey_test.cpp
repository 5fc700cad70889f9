// The editor's tiles that lay something over the picture, as a new user uses them: a picture
// watermark chosen with the panel's Picture button, sized by typing and made see-through; a
// video laid over the video (picture-in-picture) by the same button; an .ass subtitle file
// loaded from the subtitle menu, which keeps its own styles. Each export, made with the MP4
// profile, is judged frame by frame against the ffmpeg command line laying the same thing over
// the profile's fitted picture, and the clip's own sound is kept.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "services/language.h"
#include "session/edit/watermark_records.h"
#include "tests/journeys/editor_journey_helpers.h"
#include "tests/support/media_oracle.h"
#include "tests/support/user_input.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

namespace {

// The clip is 320x180: the MP4 profile shows it four times as large, filling the frame.
constexpr int kClipW = 320, kClipH = 180, kScale = 4;

// The open panel answers with these files while it lives.
struct OpenPanelAnswer {
    explicit OpenPanelAnswer(const std::string& path) {
        kestrel::widgets::setOpenPanelRunner(
            [path](const kestrel::widgets::OpenPanelRequest&) { return QStringList{QString::fromStdString(path)}; });
    }
    ~OpenPanelAnswer() { kestrel::widgets::setOpenPanelRunner({}); }
};

// Where the selected watermark lies in the exported 1280x720 picture.
struct OutputBox {
    int x = 0, y = 0, w = 0, h = 0;
};
OutputBox outputBoxOf(const kestrel::model::WaterParam& mark) {
    const kestrel::session::PixelEdges e =
        kestrel::session::pixelEdgesFromFractions(mark.waterPercentClipRect, kClipW, kClipH);
    return {e.left * kScale, e.top * kScale, (e.right - e.left) * kScale, (e.bottom - e.top) * kScale};
}

// ffmpeg laying input 1, scaled into box with opacity, over the fitted clip of input 0.
std::string overlayGraph(const OutputBox& box, double opacity, const char* eofAction) {
    const std::string layer = "[1:v]scale=" + std::to_string(box.w) + ":" + std::to_string(box.h) +
                              ",format=rgba,colorchannelmixer=aa=" + std::to_string(opacity) + "[layer]";
    return "[0:v]" + std::string(kt::kFitToProfile) + "[main];" + layer + ";[main][layer]overlay=x=" +
           std::to_string(box.x) + ":y=" + std::to_string(box.y) + ":eof_action=" + eofAction + "," +
           kt::kPadToProfile;
}

std::string exportWithMp4(kt::EditorJourney& journey, const kt::TempDir& dir) {
    if (!journey.clickProfile(QStringLiteral("MP4"))) return {};
    return journey.exportWithButton(dir);
}

void expectClipSound(const std::string& out) {
    const kt::SoundLevels sound = kt::soundLevels(out);
    EXPECT_TRUE(kt::soundThroughout(sound, 0.1, 1.9));
    EXPECT_TRUE(kt::toneThroughout(sound, 0.1, 1.9, 440));
}

}  // namespace

// Watermark: a picture (red left half, blue right half) chosen with the Picture button; "120"
// typed as its width and "40" as its transparency, each left with Tab.
TEST(EditorJourney, PictureWatermarkSizedByTypingIsExported) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, kClipW, kClipH);
    const std::string picture = dir.file("mark.png");
    QImage halves(80, 60, QImage::Format_RGB32);
    halves.fill(QColor(255, 0, 0));
    QPainter(&halves).fillRect(40, 0, 40, 60, QColor(0, 0, 255));
    ASSERT_TRUE(halves.save(QString::fromStdString(picture)));

    kt::EditorJourney journey(EditVideoWindowController::kToolWatermark, clip);
    kestrel::editor::WatermarkPanel& panel = *journey.controller()->sidePanels()->watermarkPanel();
    {
        OpenPanelAnswer answer(picture);
        kt::click(panel.pictureButton());
    }
    ASSERT_EQ(panel.waterMarkList().size(), 1) << journey.alerts().join("; ").toStdString();
    // The typed width is taken when the field is left, not digit by digit.
    kt::typeInto(panel.widthField(), QStringLiteral("120"), kt::Commit::Tab);
    EXPECT_EQ(panel.widthField()->text(), QStringLiteral("120"));
    EXPECT_EQ(std::lround(panel.waterMarkList()[0].waterRect.width()), 120);
    kt::typeInto(panel.alphaField(), QStringLiteral("40"), kt::Commit::Tab);
    ASSERT_EQ(std::lround(panel.waterMarkList()[0].waterAlph), 40);
    const OutputBox box = outputBoxOf(panel.waterMarkList()[0]);
    ASSERT_GT(box.w, 0);
    ASSERT_GT(box.h, 0);

    const std::string out = exportWithMp4(journey, dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(journey.alerts().isEmpty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference = kt::makeReference(
        dir, "reference", {"-i", clip, "-i", picture, "-filter_complex", overlayGraph(box, 0.6, "repeat")});
    EXPECT_TRUE(kt::framesMatch(out, reference, kt::journeyTolerance()));
    expectClipSound(out);
}

// Picture-in-picture: a 2 s video of colour bars chosen with the same button plays in its box
// over the whole clip, frame for frame.
TEST(EditorJourney, VideoLaidOverTheVideoPlaysInItsBox) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, kClipW, kClipH);
    kt::FixtureSpec inner;
    inner.duration_s = 2.0;
    inner.width = 160;
    inner.height = 120;
    inner.video_source = "smptebars";
    inner.audio_streams = 0;
    const std::string bars = dir.file("bars.mp4");
    kt::makeMedia(bars, inner);

    kt::EditorJourney journey(EditVideoWindowController::kToolWatermark, clip);
    kestrel::editor::WatermarkPanel& panel = *journey.controller()->sidePanels()->watermarkPanel();
    {
        OpenPanelAnswer answer(bars);
        kt::click(panel.pictureButton());
    }
    ASSERT_EQ(panel.waterMarkList().size(), 1) << journey.alerts().join("; ").toStdString();
    ASSERT_TRUE(panel.waterMarkList()[0].isVideo);
    const OutputBox box = outputBoxOf(panel.waterMarkList()[0]);
    ASSERT_GT(box.w, 0);
    ASSERT_GT(box.h, 0);

    const std::string out = exportWithMp4(journey, dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(journey.alerts().isEmpty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference = kt::makeReference(
        dir, "reference", {"-i", clip, "-i", bars, "-filter_complex", overlayGraph(box, 1.0, "pass")});
    EXPECT_TRUE(kt::framesMatch(out, reference, kt::journeyTolerance()));
    expectClipSound(out);
}

// Subtitle: an .ass file with its own font, size, colour and place (yellow, top centre) loaded
// through the subtitle menu's "load another file". The panel's font, colour and place controls
// cannot change such a file: they are off and say why. The export draws the file as ffmpeg
// draws it.
TEST(EditorJourney, StyledSubtitleFileKeepsItsOwnStyles) {
    kt::TempDir dir;
    const std::string clip = kt::makeJourneyClip(dir, "clip.mp4", 2.0, kClipW, kClipH);
    const std::string captions = dir.file("captions.ass");
    kt::writeBytes(captions,
                   "[Script Info]\r\nScriptType: v4.00+\r\nPlayResX: 384\r\nPlayResY: 288\r\n\r\n"
                   "[V4+ Styles]\r\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
                   "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, "
                   "Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n"
                   "Style: Default,DejaVu Sans Mono,36,&H0000FFFF,&H0000FFFF,&H00000000,&H00000000,-1,0,0,0,100,100,"
                   "0,0,1,2,0,8,10,10,20,1\r\n\r\n"
                   "[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n"
                   "Dialogue: 0,0:00:00.20,0:00:01.60,Default,,0,0,0,,KESTREL iiii\r\n");

    kt::EditorJourney journey(EditVideoWindowController::kToolSubtitle, clip);
    kestrel::editor::SubtitlePanel& panel = *journey.controller()->sidePanels()->subtitlePanel();
    {
        OpenPanelAnswer answer(captions);
        const auto chosen = kt::chooseInNextMenu(services::localized("Load_otherItemTitle"));
        kt::click(panel.subtitleButton());
        ASSERT_TRUE(kt::waitUntil([&] { return *chosen; }, 5000));
    }
    ASSERT_EQ(panel.subtitleParam().subtitlePath, QString::fromStdString(captions))
        << journey.alerts().join("; ").toStdString();
    const QString why = services::localized("SubtitleStyledFileTip");
    ASSERT_FALSE(why.isEmpty());
    for (QWidget* control : std::initializer_list<QWidget*>{panel.fontButton(), panel.colourButton(), panel.placeButton(0),
                                                            panel.placeButton(1), panel.placeButton(2), panel.positionField()}) {
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
        EXPECT_EQ(control->toolTip(), why);
    }
    EXPECT_EQ(panel.positionSlider()->toolTip(), why);

    const std::string out = exportWithMp4(journey, dir);
    ASSERT_FALSE(out.empty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(journey.alerts().isEmpty()) << journey.alerts().join("; ").toStdString();
    EXPECT_TRUE(kt::decodesCleanly(out));
    const std::string reference = kt::makeReference(
        dir, "reference",
        {"-i", clip, "-vf", std::string(kt::kFitToProfile) + ",subtitles=filename=" + captions + "," + kt::kPadToProfile});
    EXPECT_TRUE(kt::framesMatch(out, reference, kt::journeyTolerance()));
    // The caption is there at all: the reference differs from the plain clip while it shows.
    const std::string plain = kt::makeReference(dir, "plain", {"-i", clip, "-vf", kt::kFitInProfile});
    EXPECT_FALSE(kt::compareFrames(kt::timeRangeOf(reference, 0.4, 0.4), kt::timeRangeOf(plain, 0.4, 0.4),
                                   kt::journeyTolerance()).ok());
    expectClipSound(out);
}
