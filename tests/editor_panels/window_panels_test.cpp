// The three side panels inside the editor window: set through the window's panels, carried by
// the window's export button into the exported file, and sharing the window's preview.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cmath>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "editor/music/music_panel.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "editor/window_edit_state.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "session/edit/watermark_records.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

namespace {

constexpr int kW = 320, kH = 240;

// Runs the event loop until done() holds; the limit only guards against a hang.
bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 120000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Mean of the RGB values inside a box of a kW x kH frame.
double meanInside(const std::vector<unsigned char>& rgb, const kestrel::session::PixelEdges& box) {
    double sum = 0;
    long count = 0;
    for (int y = std::max(0, box.top); y < std::min(kH, box.bottom); ++y)
        for (int x = std::max(0, box.left); x < std::min(kW, box.right); ++x)
            for (int c = 0; c < 3; ++c) {
                sum += rgb[(size_t(y) * kW + size_t(x)) * 3 + size_t(c)];
                ++count;
            }
    return count ? sum / count : 0;
}

// Types a value into one field and hands it over with Return, as a user would.
void typeInto(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

struct WindowPanels : ::testing::Test {
    kt::TempDir dir;
    QPointer<EditVideoWindowController> window;
    QStringList alerts;

    // A black, silent 2 s video: every watermark and caption stands out, and sound can only
    // come from the music.
    std::string blackVideo() {
        const std::string path = dir.file("black.mp4");
        kt::FixtureSpec spec;
        spec.video_source = "color";
        spec.audio_streams = 0;
        kt::makeMedia(path, spec);
        return path;
    }
    std::string tone(const char* name, double seconds = 3) {
        const std::string path = dir.file(name);
        kt::FixtureSpec spec;
        spec.width = 0;
        spec.duration_s = seconds;
        kt::makeMedia(path, spec);
        return path;
    }
    void open(int64_t tool, const std::string& path) {
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(path));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        ASSERT_NE(window->fileData(), nullptr);
        ASSERT_NE(window->sidePanels(), nullptr);
    }
    kestrel::editor::WatermarkPanel& watermarks() { return *window->sidePanels()->watermarkPanel(); }
    kestrel::editor::SubtitlePanel& subtitles() { return *window->sidePanels()->subtitlePanel(); }
    kestrel::editor::MusicPanel& music() { return *window->sidePanels()->musicPanel(); }
    void TearDown() override {
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }
};

}  // namespace

TEST_F(WindowPanels, WatermarksSubtitleAndMusicSetInTheWindowAreExportedByItsButton) {
    open(16, blackVideo());
    const std::string picture = dir.file("red.png");
    QImage red(80, 60, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(QString::fromStdString(picture)));
    kt::writeBytes(dir.file("cues.srt"), "1\r\n00:00:00,000 --> 00:00:00,600\r\nWWWWWWWW WWWWWWWW\r\n\r\n");
    const std::string song = tone("song.m4a");

    // A text watermark for the first 0.8 s, a picture from 1.2 s to the end.
    EXPECT_TRUE(watermarks().isVisible());
    watermarks().addTextWaterMark();
    auto& duration = watermarks().timeGroup(kestrel::editor::WatermarkPanel::kDuration).fields;
    typeInto(duration[0], "00");
    typeInto(duration[1], "00");
    typeInto(duration[2], "00");
    typeInto(duration[3], "80");
    ASSERT_TRUE(watermarks().addPictureWaterMark(QString::fromStdString(picture)));
    auto& start = watermarks().timeGroup(kestrel::editor::WatermarkPanel::kStart).fields;
    typeInto(start[2], "01");
    typeInto(start[3], "20");

    window->subtitleAction();
    EXPECT_TRUE(subtitles().isVisible());
    EXPECT_FALSE(watermarks().isVisible());
    ASSERT_TRUE(subtitles().loadSubtitleFile(QString::fromStdString(dir.file("cues.srt"))).ok);
    subtitles().placeSubtitle(0);

    window->audioAction();
    EXPECT_TRUE(music().addMusicFiles({QString::fromStdString(song)}).isEmpty());

    // The window reads the panels' lists: the export takes what the panels show.
    ASSERT_EQ(window->waterMarkList().size(), 2);
    EXPECT_FLOAT_EQ(window->waterMarkList()[0].duration, 0.8f);
    EXPECT_FLOAT_EQ(window->waterMarkList()[1].startTime, 1.2f);
    EXPECT_EQ(window->subtitleParam().subtitlePath, QString::fromStdString(dir.file("cues.srt")));
    ASSERT_EQ(window->musicList().size(), 1);
    const QRectF textFractions = window->waterMarkList()[0].waterPercentClipRect;
    const QRectF pictureFractions = window->waterMarkList()[1].waterPercentClipRect;

    auto* attachment = new kestrel::editor::EditorExportAttachment(*window, window);
    attachment->playerRefreshed(1.0);
    kt::TempDir out;
    bool finished = false;
    QTimer::singleShot(0, [&] {
        exportkit::ExportWindowController* dialog = attachment->exportRun()->exportProgressWindow();
        ASSERT_NE(dialog, nullptr);
        dialog->setOutputPath(QString::fromStdString(out.path()));
        dialog->startExport();
        finished = waitUntil([&] { return !dialog->exporting() && attachment->exportRun()->pendingJobs() == 0; });
        dialog->closeWindowAction();
    });
    QTest::mouseClick(window->views().startExportBtn, Qt::LeftButton, {}, window->views().startExportBtn->rect().center());
    ASSERT_TRUE(finished);
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const std::string written = window->fileData()->exportPath.toStdString();
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(written)));

    const kt::ProbedMedia probed = kt::ffprobe(written);
    ASSERT_TRUE(probed.ok) << probed.error;
    EXPECT_EQ(probed.countOf("video"), 1);
    EXPECT_EQ(probed.countOf("audio"), 1) << "the silent video gains the music";
    EXPECT_NEAR(probed.duration_s, 2.0, 0.2);

    const kestrel::session::PixelEdges textBox = kestrel::session::pixelEdgesFromFractions(textFractions, kW, kH);
    const kestrel::session::PixelEdges pictureBox = kestrel::session::pixelEdgesFromFractions(pictureFractions, kW, kH);
    // Above both watermarks (they stack up from the bottom-left corner).
    const int marksTop = std::min(textBox.top, pictureBox.top);
    ASSERT_GT(marksTop, kH / 2);
    const kestrel::session::PixelEdges captionBand{0, 0, kW, marksTop};
    const kestrel::session::PixelEdges whole{0, 0, kW, kH};
    const auto early = kt::decodeFrameRGB(written, 0.3, kW, kH);
    const auto middle = kt::decodeFrameRGB(written, 1.0, kW, kH);
    const auto late = kt::decodeFrameRGB(written, 1.6, kW, kH);
    // In the middle nothing is due: the frame stays black.
    EXPECT_LT(meanInside(middle, whole), 4);
    EXPECT_GT(meanInside(early, textBox), meanInside(middle, textBox) + 10);
    EXPECT_LT(meanInside(early, pictureBox), 4);
    EXPECT_GT(meanInside(early, captionBand), meanInside(middle, captionBand) + 2) << "the caption";
    EXPECT_LT(meanInside(late, textBox), 4);
    EXPECT_GT(meanInside(late, pictureBox), 40);
    EXPECT_LT(meanInside(late, captionBand), 4);
}

TEST_F(WindowPanels, MusicPreviewAndVideoPreviewTakeTurnsThroughTheWindow) {
    open(64, blackVideo());
    ASSERT_TRUE(music().addMusicFiles({QString::fromStdString(tone("song.m4a"))}).isEmpty());
    music().selectMusic(0);
    music().playOrPauseAudio();
    EXPECT_TRUE(music().isAudioPlaying());
    window->play();
    EXPECT_TRUE(window->isPlaying());
    EXPECT_FALSE(music().isAudioPlaying()) << "the video preview stops the music preview";
    // The music preview pauses the video the window's way: its tick and play button follow.
    music().playOrPauseAudio();
    EXPECT_TRUE(music().isAudioPlaying());
    EXPECT_FALSE(window->isPlaying());
    EXPECT_FALSE(window->views().b_playPauseBtn->selected());
    music().stopAudio();
}

TEST_F(WindowPanels, AnotherFileEmptiesThePanelsAndClosingMidPreviewIsSafe) {
    const std::string first = blackVideo();
    open(16, first);
    watermarks().addTextWaterMark();
    ASSERT_TRUE(music().addMusicFiles({QString::fromStdString(tone("song.m4a"))}).isEmpty());
    kt::writeBytes(dir.file("cues.srt"), "1\r\n00:00:00,000 --> 00:00:01,000\r\nHello\r\n\r\n");
    ASSERT_TRUE(subtitles().loadSubtitleFile(QString::fromStdString(dir.file("cues.srt"))).ok);
    // A rotation keeps every panel's work.
    window->cropAction();
    QTest::mouseClick(window->views().right_ratioBtn, Qt::LeftButton, {}, window->views().right_ratioBtn->rect().center());
    EXPECT_EQ(window->waterMarkList().size(), 1);
    EXPECT_EQ(window->musicList().size(), 1);
    EXPECT_FALSE(window->subtitleParam().subtitlePath.isEmpty());

    kt::FixtureSpec spec;
    spec.duration_s = 1;
    makeMedia(dir.file("second.mkv"), spec);
    window->setFileChooser([&] { return QStringList{QString::fromStdString(dir.file("second.mkv"))}; });
    window->addfileAction();
    EXPECT_EQ(window->filePath(), QString::fromStdString(dir.file("second.mkv")));
    EXPECT_TRUE(window->waterMarkList().isEmpty());
    EXPECT_TRUE(window->musicList().isEmpty());
    EXPECT_TRUE(window->subtitleParam().subtitlePath.isEmpty());
    // The subtitle panel names no subtitle and offers none of the old file's.
    EXPECT_EQ(subtitles().subtitleButton()->contentTitle(), services::localized("No Subtitle"));
    EXPECT_FALSE(subtitles().colourEnabled());
    EXPECT_FALSE(subtitles().subtitleMenuTitles().contains("cues.srt"));

    // Panels added after the reload work on the new preview; closing while it plays leaves the
    // panels without a dangling preview.
    window->watermarkAction();
    watermarks().addTextWaterMark();
    window->play();
    window->closeAction();
}

// The music tool has its own bar under the preview: the play tools move there, so the video
// plays from the music tool, its position shows in that bar and on the music bar's knob.
TEST_F(WindowPanels, MusicToolPlaysTheVideoFromItsOwnBar) {
    open(64, blackVideo());
    EditVideoWindowController::Views& v = window->views();
    EXPECT_TRUE(v.musicRightBottomView->isVisible());
    EXPECT_FALSE(v.playerBottomView->isVisible());
    EXPECT_EQ(v.playToolView->parentWidget(), v.musicRightBottomView);
    ASSERT_TRUE(v.b_playPauseBtn->isVisible());
    EXPECT_EQ(v.mTotaldurationLabel->text(), v.totalTimeLabel->text());

    QTest::mouseClick(v.b_playPauseBtn, Qt::LeftButton, {}, v.b_playPauseBtn->rect().center());
    EXPECT_TRUE(window->isPlaying());
    EXPECT_TRUE(waitUntil([&] { return music().positionBar()->progress() > 0.1f; }));
    EXPECT_NE(v.mCurrentTimeLabel->text(), QStringLiteral("00:00:00.000"));
    QTest::mouseClick(v.b_playPauseBtn, Qt::LeftButton, {}, v.b_playPauseBtn->rect().center());
    EXPECT_FALSE(window->isPlaying());

    // Back in another tool the play tools return to the bar with the trim bar.
    window->cutAction();
    EXPECT_EQ(v.playToolView->parentWidget(), v.playerBottomView);
    EXPECT_TRUE(v.b_playPauseBtn->isVisible());
    EXPECT_FALSE(v.musicRightBottomView->isVisible());
}

// Nothing in the three side panels can be changed while an export runs, and every outcome
// (finished, failed, stopped) gives editing back.
TEST_F(WindowPanels, ExportSwitchesThePanelsOffWhileItRuns) {
    const std::string video = blackVideo();
    open(16, video);
    watermarks().addTextWaterMark();
    QStringList failures;
    exportkit::ExportSession::setFailureAlert([&](QWidget*, const QString& text) { failures << text; });
    kestrel::editor::EditorExportController* run = window->exportAttachment()->exportRun();
    auto panelsEnabled = [&] {
        return watermarks().isEnabled() && subtitles().isEnabled() && music().isEnabled() &&
               watermarks().watermarkView()->isEnabled();
    };
    ASSERT_TRUE(panelsEnabled());
    enum Outcome { Finished, Stopped, Failed };
    for (Outcome outcome : {Finished, Stopped, Failed}) {
        SCOPED_TRACE(int(outcome));
        // The input gone: the engine refuses the job before it starts.
        if (outcome == Failed) ASSERT_TRUE(QFile::remove(QString::fromStdString(video)));
        int checkedDuringRun = 0;
        run->setRecord(window->fileData());
        exportkit::ExportWindowController* dialog = run->prepareExportDialog();
        dialog->setStopConfirmer([](const QString&) { return true; });
        run->setPhaseStartedBlock([&](int) {
            EXPECT_FALSE(watermarks().isEnabled());
            EXPECT_FALSE(subtitles().isEnabled());
            EXPECT_FALSE(music().isEnabled());
            EXPECT_FALSE(watermarks().watermarkView()->isEnabled());
            ++checkedDuringRun;
            if (outcome == Stopped) dialog->startExport();  // the dialog's Stop
        });
        dialog->setOutputPath(QString::fromStdString(dir.file("out")));
        dialog->startExport();
        ASSERT_TRUE(waitUntil([&] { return !run->exporting() && run->pendingJobs() == 0; }));
        EXPECT_EQ(checkedDuringRun, outcome == Failed ? 0 : 1);
        EXPECT_EQ(failures.isEmpty(), outcome != Failed);
        EXPECT_TRUE(panelsEnabled());
        dialog->closeWindowAction();
    }
    run->setPhaseStartedBlock(nullptr);
    exportkit::ExportSession::setFailureAlert(nullptr);
}

// The player bar's volume slider sets the volume the effect panel sends to the preview, and
// the export writes it into the job record.
TEST_F(WindowPanels, PlayerBarVolumeReachesThePanelAndTheJobRecord) {
    open(8, blackVideo());
    EditVideoWindowController::Views& v = window->views();
    kestrel::editor::KxfxView* panel = window->exportAttachment()->effectPanel();
    EXPECT_DOUBLE_EQ(window->volume(), 1.0);
    QTest::mouseClick(v.b_volumeBtn, Qt::LeftButton, {}, v.b_volumeBtn->rect().center());
    ASSERT_TRUE(v.volumeSliderContainer->isVisible());
    kestrel::widgets::VolumeProgressSlider* slider = v.b_volumeSlider;
    // A press near the top of the upright slider: loud.
    const QPoint top(slider->width() / 2, slider->height() / 10);
    QTest::mousePress(slider, Qt::LeftButton, {}, top);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, top);
    const double chosen = 2.0 * double(slider->progress());
    EXPECT_GT(chosen, 1.4);
    EXPECT_DOUBLE_EQ(panel->volume(), chosen);
    EXPECT_DOUBLE_EQ(window->volume(), chosen);
    ASSERT_TRUE(window->commitEditsToJob());
    EXPECT_DOUBLE_EQ(window->fileData()->volume, chosen);
    EXPECT_DOUBLE_EQ(kestrel::editor::editStateFromWindow(*window, panel).previewVolume, chosen);

    // A new file starts over at 1.0, the slider in the middle.
    window->setFilePath(QString::fromStdString(blackVideo()));
    window->setUpDataForFilePath();
    EXPECT_DOUBLE_EQ(window->volume(), 1.0);
    EXPECT_FLOAT_EQ(slider->progress(), 0.5f);
}
