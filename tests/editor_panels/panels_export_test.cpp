// End to end: watermarks, a subtitle file and a music track set through the panels over a real
// preview player, then burnt in and mixed by the transcoding engine; ffprobe and decoded frames
// are the oracle.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTest>
#include <cmath>
#include <functional>

#include "editor/music/music_panel.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "engine/mediacore/media_core.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/edit/edit_bindings.h"
#include "session/edit/music_mix.h"
#include "session/edit/music_timing.h"
#include "session/edit/subtitle_record.h"
#include "session/edit/watermark_records.h"
#include "session/export/editor/watermark_export.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::editor;
using namespace kestrel::session;
using kestrel::player::DIVuverIzizud;
namespace kt = kestrel::test;

namespace {

constexpr int kW = 320, kH = 240;

int32_t runJob(const std::string& input, const std::string& output, const std::function<void(void*)>& configure) {
    void* job = apiMediaConvertCreate();
    EXPECT_NE(job, nullptr);
    EXPECT_GE(apiMediaConvertSetInputMedia(job, input.c_str()), 1);
    configure(job);
    EXPECT_GE(apiMediaConvertSetOutputPath(job, output.c_str()), 1);
    const int32_t result = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    return result;
}

// Mean absolute difference of two RGB frames inside a rectangle (pixels, top-left origin).
double regionDiff(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, const PixelEdges& r) {
    double sum = 0;
    long count = 0;
    for (int y = std::max(0, r.top); y < std::min(kH, r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(kW, r.right); ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t i = (static_cast<size_t>(y) * kW + static_cast<size_t>(x)) * 3 + static_cast<size_t>(c);
                sum += std::abs(int(a[i]) - int(b[i]));
                ++count;
            }
    return count ? sum / count : 0;
}

struct OpenVideo {
    std::string path;
    std::unique_ptr<DIVuverIzizud> player;
    kestrel::model::SimpleDataPtr fileData = kestrel::model::makeSimpleData();

    explicit OpenVideo(const kt::TempDir& dir) : path(dir.file("black.mp4")) {
        kt::FixtureSpec spec;
        spec.video_source = "color";  // black: every watermark stands out
        spec.audio_streams = 0;
        kt::makeMedia(path, spec);
        player = DIVuverIzizud::initWithString(path, QRectF(0, 0, kW, kH));
        fileData->path = QString::fromStdString(path);
        fileData->sourceData.width = kW;
        fileData->sourceData.height = kH;
        fileData->sourceData.duration = 2.0f;
    }
};

// Types a value into one field and hands it over with Return, as a user would.
void typeInto(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

}  // namespace

TEST(PanelsExport, WatermarksAppearInTheExportOnlyDuringTheirOwnTimeWindows) {
    kt::TempDir dir;
    OpenVideo video(dir);
    ASSERT_TRUE(video.player);
    const std::string picture = dir.file("red.png");
    QImage red(80, 60, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(QString::fromStdString(picture)));

    WatermarkPanel panel;
    panel.setPlayer(video.player.get(), video.fileData);
    panel.addTextWaterMark();
    ASSERT_EQ(panel.waterMarkList().size(), 1);
    // Shown for 0.8 s from the start: typed into the duration group's hundredths.
    auto& duration = panel.timeGroup(WatermarkPanel::kDuration).fields;
    typeInto(duration[0], "00");
    typeInto(duration[1], "00");
    typeInto(duration[2], "00");
    typeInto(duration[3], "80");
    EXPECT_FLOAT_EQ(panel.waterMarkList()[0].duration, 0.8f);

    ASSERT_TRUE(panel.addPictureWaterMark(QString::fromStdString(picture)));
    ASSERT_EQ(panel.waterMarkList().size(), 2);
    EXPECT_EQ(panel.selectedWaterMarkIndex(), 1);
    auto& start = panel.timeGroup(WatermarkPanel::kStart).fields;
    typeInto(start[2], "01");
    typeInto(start[3], "20");
    EXPECT_FLOAT_EQ(panel.waterMarkList()[1].startTime, 1.2f);
    // The new box was stacked so the two do not overlap.
    EXPECT_FALSE(panel.waterMarkList()[0].waterRect.intersects(panel.waterMarkList()[1].waterRect));

    const std::string plain = dir.file("plain.mp4"), marked = dir.file("marked.mp4");
    ASSERT_GE(runJob(video.path, plain, [](void*) {}), 1);
    ASSERT_GE(runJob(video.path, marked,
                     [&](void* job) { EXPECT_EQ(addConvertWaterMark(job, panel.waterMarkList(), kW, kH), 2); }),
              1);

    const kt::ProbedMedia probed = kt::ffprobe(marked);
    ASSERT_TRUE(probed.ok) << probed.error;
    EXPECT_EQ(probed.countOf("video"), 1);
    EXPECT_NEAR(probed.duration_s, 2.0, 0.1);

    const PixelEdges textBox = pixelEdgesFromFractions(panel.waterMarkList()[0].waterPercentClipRect, kW, kH);
    const PixelEdges pictureBox = pixelEdgesFromFractions(panel.waterMarkList()[1].waterPercentClipRect, kW, kH);
    auto frames = [&](double t) {
        return std::make_pair(kt::decodeFrameRGB(marked, t, kW, kH), kt::decodeFrameRGB(plain, t, kW, kH));
    };
    const auto [markedEarly, plainEarly] = frames(0.4);
    EXPECT_GT(regionDiff(markedEarly, plainEarly, textBox), 10);
    EXPECT_LT(regionDiff(markedEarly, plainEarly, pictureBox), 3);
    const auto [markedMiddle, plainMiddle] = frames(1.0);
    EXPECT_LT(regionDiff(markedMiddle, plainMiddle, textBox), 3);
    EXPECT_LT(regionDiff(markedMiddle, plainMiddle, pictureBox), 3);
    const auto [markedLate, plainLate] = frames(1.6);
    EXPECT_LT(regionDiff(markedLate, plainLate, textBox), 3);
    EXPECT_GT(regionDiff(markedLate, plainLate, pictureBox), 50);
}

TEST(PanelsExport, SubtitleAndMusicSetInThePanelsAreBurntInAndMixed) {
    kt::TempDir dir;
    OpenVideo video(dir);
    ASSERT_TRUE(video.player);
    // Windows-1252 text: the panel must take it as well as UTF-8.
    kt::writeBytes(dir.file("cues.srt"), "1\r\n00:00:00,000 --> 00:00:01,200\r\nCAF\xC9 WWWWWWWW\r\n\r\n");
    const std::string music = dir.file("tone.m4a");
    kt::FixtureSpec tone;
    tone.width = 0;
    tone.duration_s = 3;
    kt::makeMedia(music, tone);

    SubtitlePanel subtitles;
    subtitles.setPlayer(video.player.get(), video.fileData);
    ASSERT_TRUE(subtitles.loadSubtitleFile(QString::fromStdString(dir.file("cues.srt"))).ok);
    subtitles.placeSubtitle(1);
    EXPECT_EQ(subtitles.subtitleParam().positon, 120);

    MusicPanel musicPanel;
    musicPanel.setPlayer(video.player.get(), video.fileData);
    EXPECT_TRUE(musicPanel.addMusicFiles({QString::fromStdString(music), QString::fromStdString(video.path)}).size() == 1)
        << "the silent video is refused";
    ASSERT_EQ(musicPanel.musicList().size(), 1);
    EXPECT_TRUE(musicPanel.musicList()[0].isCheck);

    const std::string plain = dir.file("plain.mp4"), out = dir.file("out.mp4");
    ASSERT_GE(runJob(video.path, plain, [](void*) {}), 1);
    ASSERT_GE(runJob(video.path, out,
                     [&](void* job) {
                         EXPECT_GE(addConvertSubtitle(job, subtitles.subtitleParamForExport()), 1);
                         EXPECT_GE(addDubbingMusic(job, musicPanel.musicList(), false, {0.0, 2.0, 1.0}), 1);
                     }),
              1);
    const kt::ProbedMedia probed = kt::ffprobe(out);
    ASSERT_TRUE(probed.ok) << probed.error;
    EXPECT_EQ(probed.countOf("video"), 1);
    EXPECT_EQ(probed.countOf("audio"), 1) << "the silent source gains the music";
    EXPECT_NEAR(probed.duration_s, 2.0, 0.2);

    const PixelEdges whole{0, 0, kW, kH};
    EXPECT_GT(regionDiff(kt::decodeFrameRGB(out, 0.5, kW, kH), kt::decodeFrameRGB(plain, 0.5, kW, kH), whole), 0.5);
    EXPECT_LT(regionDiff(kt::decodeFrameRGB(out, 1.7, kW, kH), kt::decodeFrameRGB(plain, 1.7, kW, kH), whole), 0.3);
}

TEST(PanelsExport, AMusicTrackTheEngineRefusesEndsTheMusicStep) {
    kt::TempDir dir;
    OpenVideo video(dir);
    kestrel::model::MusicInfo missing = newMusicInfo(QString::fromStdString(dir.file("gone.mp3")), 10, 2, 0);
    void* job = apiMediaConvertCreate();
    ASSERT_NE(job, nullptr);
    apiMediaConvertSetInputMedia(job, video.path.c_str());
    EXPECT_LT(addDubbingMusic(job, {missing}, false, {0.0, 2.0, 1.0}), 1);
    kestrel::model::MusicInfo unchecked = missing;
    unchecked.isCheck = false;
    EXPECT_EQ(addDubbingMusic(job, {unchecked}, false, {0.0, 2.0, 1.0}), 1);
    apiMediaConvertClose(job);
}

TEST(PanelsExport, TheSidePanelsFillTheExportsShares) {
    kt::TempDir dir;
    OpenVideo video(dir);
    ASSERT_TRUE(video.player);
    const std::string music = dir.file("tone.m4a");
    kt::FixtureSpec tone;
    tone.width = 0;
    kt::makeMedia(music, tone);
    QWidget water, caption, musicView;
    EditorSidePanels panels(&water, &caption, &musicView);
    panels.setPlayer(video.player.get(), video.fileData);
    panels.watermarkPanel()->addTextWaterMark();
    panels.musicPanel()->addMusicFiles({QString::fromStdString(music)});

    kestrel::session::EditState edits;
    panels.fillEditState(edits);
    EXPECT_FALSE(edits.music.isEmpty());
    EXPECT_DOUBLE_EQ(edits.originalVolume, 1.0);
    ASSERT_FALSE(edits.watermarks.isEmpty());
    const std::string out = dir.file("out.mp4");
    ASSERT_GE(runJob(video.path, out,
                     [&](void* job) {
                         EXPECT_TRUE(kestrel::session::configureConvert(job, edits, *video.fileData, {}, std::nullopt).ok);
                     }),
              1);
    const kt::ProbedMedia probed = kt::ffprobe(out);
    EXPECT_EQ(probed.countOf("audio"), 1);
    const std::string plain = dir.file("plain.mp4");
    ASSERT_GE(runJob(video.path, plain, [](void*) {}), 1);
    const PixelEdges textBox = pixelEdgesFromFractions(panels.watermarkPanel()->waterMarkList()[0].waterPercentClipRect, kW, kH);
    EXPECT_GT(regionDiff(kt::decodeFrameRGB(out, 1.0, kW, kH), kt::decodeFrameRGB(plain, 1.0, kW, kH), textBox), 10);
}
