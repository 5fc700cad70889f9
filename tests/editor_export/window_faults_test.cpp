// Faults a user meets in the editor window, each driven through the window's own controls:
// refused edits, the trim fields and spin buttons, the range bar, typed crop and colour values.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "editor/music/music_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "platform/notification_center.h"
#include "widgets/ns_progress_view.h"
#include "services/language.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

namespace kt = kestrel::test;

struct WindowFaults : ::testing::Test {
    QPointer<EditVideoWindowController> window;
    QStringList alerts;
    QPointer<kestrel::editor::EditorExportController> run;

    void open(int64_t tool, const std::string& path = standardClip()) {  // 320x240, 2 s
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(path));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        if (path != standardClip()) return;
        ASSERT_NE(window->fileData(), nullptr);
        ASSERT_NE(window->exportAttachment(), nullptr);
        run = window->exportAttachment()->exportRun();
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts << text; });
    }
    EditVideoWindowController::Views& v() { return window->views(); }
    kestrel::editor::KxfxView* effects() { return window->exportAttachment()->effectPanel(); }
    void TearDown() override {
        if (run) waitUntil([this] { return !run || run->pendingJobs() == 0; });
        exportkit::ExportSession::setFailureAlert(nullptr);
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    static void typeInto(kestrel::widgets::RDTextField* field, const QString& text) {
        field->setText(text);
        Q_EMIT field->textEdited(text);
    }
    static QString timeOf(const QList<kestrel::widgets::RDTextField*>& fields) {
        QStringList parts;
        for (const auto* f : fields) parts << f->text();
        return parts.join(QLatin1Char(':'));
    }
    void exportTo(const std::string& folder) {
        run->setRecord(window->fileData());
        exportkit::ExportWindowController* dialog = run->prepareExportDialog();
        dialog->setOutputPath(QString::fromStdString(folder));
        dialog->startExport();
        ASSERT_TRUE(waitUntil([this] { return !run || (!run->exporting() && run->pendingJobs() == 0); }));
    }
};

// A trim end before its start is refused: the export writes nothing and says why, instead of
// writing the whole, unturned file and reporting success.
TEST_F(WindowFaults, RefusedTrimExportsNothingAndSaysWhy) {
    open(1);
    click(v().right_ratioBtn);
    typeInto(v().startSecondsField, QStringLiteral("01"));
    typeInto(v().startMioSecondsField, QStringLiteral("500"));
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    typeInto(v().stopMioSecondsField, QStringLiteral("000"));
    TempDir out;
    exportTo(out.path());
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], services::localized(QStringLiteral("EditRefusedTrimOrderMessage")));
    EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(", ").toStdString();
    EXPECT_FALSE(run->exporting());

    // Put right, the same window exports.
    typeInto(v().stopSecondsField, QStringLiteral("02"));
    alerts.clear();
    exportTo(out.path());
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    EXPECT_EQ(filesIn(out.path()).size(), 1);
}

TEST_F(WindowFaults, TrimEndStaysInsideTheFile) {
    open(1);
    // One press on the end's minutes field: the end cannot pass the 2 s of the file.
    QTest::mouseClick(v().stopMinuteField, Qt::LeftButton);
    click(v().stopStepperUp);
    EXPECT_EQ(timeOf(v().stopFields()), QStringLiteral("00:00:02:000"));
    EXPECT_EQ(window->editState().trimStop_us, 2000000);
    // Typed, likewise.
    typeInto(v().stopMinuteField, QStringLiteral("01"));
    EXPECT_EQ(timeOf(v().stopFields()), QStringLiteral("00:00:02:000"));
    EXPECT_EQ(window->editState().trimStop_us, 2000000);
    EXPECT_FLOAT_EQ(v().cutProgressView->upperValue(), 1.0f);
}

TEST_F(WindowFaults, StartSpinButtonStepsTheStart) {
    open(1);
    // The end's seconds were clicked last; the start's spin button still steps the start.
    QTest::mouseClick(v().stopSecondsField, Qt::LeftButton);
    click(v().startStepperUp);
    EXPECT_EQ(timeOf(v().startFields()), QStringLiteral("00:00:1:000"));
    EXPECT_EQ(timeOf(v().stopFields()), QStringLiteral("00:00:02:000"));
    EXPECT_EQ(window->editState().trimStart_us, 1000000);
    // A step that would reach the end is not taken.
    click(v().startStepperUp);
    EXPECT_EQ(window->editState().trimStart_us, 1000000);
    EXPECT_LT(window->editState().trimStart_us, window->editState().trimStop_us);
}

TEST_F(WindowFaults, ReleasingTheRangeBarResumesPlaying) {
    open(1);
    click(v().b_playPauseBtn);
    ASSERT_TRUE(window->isPlaying());
    const QPoint middle = v().cutProgressView->rect().center();
    QTest::mousePress(v().cutProgressView, Qt::LeftButton, {}, middle);
    EXPECT_FALSE(window->isPlaying());
    QTest::mouseRelease(v().cutProgressView, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(window->isPlaying());
    click(v().b_playPauseBtn);
    // Released while paused: it stays paused.
    QTest::mousePress(v().cutProgressView, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(v().cutProgressView, Qt::LeftButton, {}, middle);
    EXPECT_FALSE(window->isPlaying());
}

TEST_F(WindowFaults, TypedCropSizeStaysInsideTheMargins) {
    open(4);
    typeInto(v().cropLeftField, QStringLiteral("100"));
    typeInto(v().cropWidthField, QStringLiteral("320"));
    EXPECT_EQ(v().cropWidthField->text(), QStringLiteral("220"));
    EXPECT_EQ(window->convertCropSize(), (kestrel::model::RECT{100, 0, 0, 0}));
    // A 200 high box moved to the top leaves 40 below it: a typed height keeps that margin.
    typeInto(v().cropHeightField, QStringLiteral("200"));
    typeInto(v().cropTopField, QStringLiteral("0"));
    typeInto(v().cropHeightField, QStringLiteral("240"));
    EXPECT_EQ(v().cropHeightField->text(), QStringLiteral("200"));
    EXPECT_EQ(window->editState().cropMargins, (kestrel::model::RECT{100, 0, 0, 40}));
}

TEST_F(WindowFaults, TypedColourValuesKeepToTheirSliders) {
    open(8);
    kestrel::editor::KxfxView* panel = effects();
    struct Case {
        kestrel::widgets::RDTextField* field;
        const char* typed;
        const char* kept;
    };
    // Typed and handed over (Tab): held to the slider's range once, when the field is left.
    for (const Case& c : {Case{panel->brightnessValueLabel, "300", "255"}, Case{panel->brightnessValueLabel, "-999", "-255"},
                          Case{panel->contrastValueLabel, "150", "100"}, Case{panel->saturationValueLabel, "-101", "-100"}}) {
        kt::typeInto(c.field, QString::fromLatin1(c.typed), kt::Commit::Tab);
        EXPECT_EQ(c.field->text(), QString::fromLatin1(c.kept)) << c.typed;
    }
    EXPECT_FLOAT_EQ(panel->brightnessSlider->progress(), 0.0f);
    EXPECT_FLOAT_EQ(panel->contrastSlider->progress(), 1.0f);
    const kestrel::session::EditState state = window->editState();
    EXPECT_EQ(state.brightness, -255);
    EXPECT_EQ(state.contrast, 100);
    EXPECT_EQ(state.saturation, -100);
}

TEST_F(WindowFaults, ResetMovesThePlayerBarVolumeSlider) {
    open(8);
    click(v().b_volumeBtn);
    kestrel::widgets::VolumeProgressSlider* slider = v().b_volumeSlider;
    const QPoint top(slider->width() / 2, slider->height() / 10);
    QTest::mousePress(slider, Qt::LeftButton, {}, top);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, top);
    ASSERT_GT(window->volume(), 1.4);
    click(effects()->effectReset);
    EXPECT_DOUBLE_EQ(window->volume(), 1.0);
    EXPECT_FLOAT_EQ(slider->progress(), 0.5f);
}

TEST_F(WindowFaults, FailedSnapshotIsReported) {
    open(1);
    TempDir out;
    const std::string notAFolder = out.file("plain-file");
    writeBytes(notAFolder, "taken");
    window->setOutputPath(QString::fromStdString(notAFolder));
    click(v().b_cameraBtn);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], services::localized(QStringLiteral("SnapshotFailedMessage")));
    EXPECT_TRUE(window->lastSnapshotPath().isEmpty());

    // A usable folder takes the picture without a word.
    alerts.clear();
    window->setOutputPath(QString::fromStdString(out.path()));
    click(v().b_cameraBtn);
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    EXPECT_TRUE(QFileInfo::exists(window->lastSnapshotPath()));
}

TEST_F(WindowFaults, PlayPauseWithoutAPlayerDoesNothing) {
    TempDir in;
    const std::string bytes = in.file("random.mov");
    writeBytes(bytes, std::string(4096, '\x5a'));
    open(1, bytes);
    ASSERT_EQ(window->rdPlayer(), nullptr);
    click(v().b_playPauseBtn);
    EXPECT_FALSE(window->isPlaying());
    EXPECT_FALSE(v().b_playPauseBtn->selected());
}

// Random bytes named .mov: the alert comes with the window on screen, no size is made up, and
// there is nothing to export until a file with video is loaded.
TEST_F(WindowFaults, FileWithoutVideoCannotBeExported) {
    TempDir in;
    const std::string bytes = in.file("random.mov");
    writeBytes(bytes, std::string(4096, '\x17'));
    window = new EditVideoWindowController(4);
    window->setFilePath(QString::fromStdString(bytes));
    QList<bool> shownWithWindow;
    window->setAlertPresenter([this, &shownWithWindow](const QString& m) {
        alerts << m;
        shownWithWindow << window->views().window->isVisible();
    });
    window->setFileChooser([] { return QStringList{QString::fromStdString(standardClip())}; });
    window->showWindow(QStringLiteral("Editor"));
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], services::localized(QStringLiteral("Pleaseselectedvideo'sfilestring")));
    EXPECT_EQ(shownWithWindow, QList<bool>{true});
    EXPECT_FALSE(v().original_SizeValueLabel->text().contains(QStringLiteral("-1")));
    EXPECT_FALSE(v().cropWidthField->text().contains(QStringLiteral("-1")));
    EXPECT_FALSE(v().startExportBtn->isEnabled());

    window->addfileAction();
    ASSERT_NE(window->rdPlayer(), nullptr);
    EXPECT_TRUE(v().startExportBtn->isEnabled());
    EXPECT_EQ(v().original_SizeValueLabel->text(), QStringLiteral("320 x 240"));
    EXPECT_EQ(alerts.size(), 1);
}

TEST_F(WindowFaults, UnmutingMusicGivesBackTheLevelTheUserHad) {
    open(64);
    TempDir in;
    const std::string song = in.file("song.m4a");
    FixtureSpec spec;
    spec.width = 0;
    spec.duration_s = 3;
    makeMedia(song, spec);
    kestrel::editor::MusicPanel* music = window->sidePanels()->musicPanel();
    ASSERT_TRUE(music->addMusicFiles({QString::fromStdString(song)}).isEmpty());
    kestrel::widgets::VolumeProgressSlider* slider = music->itemVolumeSlider();
    const QPoint lowish(int(slider->width() * 0.3), slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, lowish);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, lowish);
    const float chosen = music->musicList()[0].volume;
    ASSERT_GT(chosen, 0.1f);
    ASSERT_LT(chosen, 0.45f);
    click(music->itemMuteButton());
    EXPECT_EQ(music->musicList()[0].volume, 0.0f);
    click(music->itemMuteButton());
    EXPECT_FLOAT_EQ(music->musicList()[0].volume, chosen);
    EXPECT_FLOAT_EQ(slider->progress(), chosen);
}

// A language switch right after Start, before any progress: the button still reads Stop.
TEST_F(WindowFaults, LanguageSwitchAtNoProgressKeepsStop) {
    open(1);
    run->setRecord(window->fileData());
    exportkit::ExportWindowController* dialog = run->prepareExportDialog();
    TempDir out;
    dialog->setOutputPath(QString::fromStdString(out.path()));
    dialog->startExport();
    ASSERT_TRUE(dialog->exporting());
    ASSERT_EQ(dialog->progressView->progress(), 0.0f);
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
    EXPECT_EQ(dialog->startBtn->contentTitle(), services::localized(QStringLiteral("Stop")));
    ASSERT_TRUE(waitUntil([this] { return !run || (!run->exporting() && run->pendingJobs() == 0); }));
    EXPECT_EQ(dialog->startBtn->contentTitle(), services::localized(QStringLiteral("Start")));
}

// Typed watermark times stay inside the video and, for a video watermark, inside its own file.
// Watermark times are checked when a field is left: a time past the video's end, or past the
// watermark file's end, is refused with the alert and the watermark keeps its time.
TEST_F(WindowFaults, WatermarkTimesStayInsideVideoAndFile) {
    open(16);
    using kestrel::editor::WatermarkPanel;
    WatermarkPanel* panel = window->sidePanels()->watermarkPanel();
    kt::click(panel->textButton());
    ASSERT_EQ(panel->waterMarkList().size(), 1);
    auto& start = panel->timeGroup(WatermarkPanel::kStart).fields;
    auto& duration = panel->timeGroup(WatermarkPanel::kDuration).fields;
    const kestrel::model::WaterParam& text = panel->waterMarkList()[0];
    EXPECT_LE(text.startTime + text.duration, 2.0f + 1e-4f) << "a new text watermark ends with the video";
    kt::typeInto(start[2], QStringLiteral("01"), kt::Commit::Tab);
    EXPECT_FLOAT_EQ(text.startTime, 1.0f);
    EXPECT_FLOAT_EQ(text.duration, 1.0f);  // the 2 s video ends 1 s after the start
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    kt::typeInto(duration[2], QStringLiteral("05"), kt::Commit::Tab);
    EXPECT_EQ(alerts, QStringList{services::localized(QStringLiteral("showmessageTime4"))});
    EXPECT_FLOAT_EQ(text.duration, 1.0f);
    EXPECT_EQ(duration[2]->text(), QStringLiteral("01"));

    // A video watermark (the same 2 s clip): its range keeps inside the clip, start before end.
    ASSERT_TRUE(panel->addPictureWaterMark(QString::fromStdString(standardClip())));
    const kestrel::model::WaterParam& video = panel->waterMarkList()[1];
    ASSERT_GT(video.fileDuration, 1.9f);
    auto& fileStart = panel->timeGroup(WatermarkPanel::kFileStart).fields;
    auto& fileEnd = panel->timeGroup(WatermarkPanel::kFileEnd).fields;
    alerts.clear();
    kt::typeInto(fileEnd[1], QStringLiteral("01"), kt::Commit::Tab);
    EXPECT_FLOAT_EQ(video.fileEndTime, video.fileDuration);
    kt::typeInto(fileStart[2], QStringLiteral("09"), kt::Commit::Tab);
    EXPECT_FLOAT_EQ(video.fileStartTime, 0.0f);
    EXPECT_EQ(alerts.size(), 2) << alerts.join(", ").toStdString();
    kt::typeInto(fileStart[2], QStringLiteral("01"), kt::Commit::Tab);
    EXPECT_FLOAT_EQ(video.fileStartTime, 1.0f);
    kt::typeInto(fileEnd[2], QStringLiteral("00"), kt::Commit::Tab);
    EXPECT_GE(video.fileStartTime, 0.0f);
    EXPECT_LT(video.fileStartTime, video.fileEndTime);
    EXPECT_LE(video.fileEndTime, video.fileDuration);
    EXPECT_EQ(alerts.size(), 2) << alerts.join(", ").toStdString();
}

}  // namespace
}  // namespace kestrel::test
