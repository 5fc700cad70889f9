#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QPointer>
#include <QTest>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "engine/player/DIVuverIzizud.h"
#include "export/ui/export_dialog_base.h"
#include "export/ui/output_format_bar.h"
#include "export/ui/setting_window_controller.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "widgets/zor_button.h"

using namespace kestrel::test;

namespace {

const std::string& sampleVideo() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("sample.mp4");
        FixtureSpec spec;
        spec.duration_s = 2.0;
        spec.gop = 5;
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

struct EditorFixture : ::testing::Test {
    QPointer<EditVideoWindowController> editor;
    QStringList alerts;

    EditVideoWindowController* open(int64_t tool, const std::string& path = sampleVideo(), bool magic = false) {
        editor = new EditVideoWindowController(tool);
        editor->setIsMagicEnhance(magic);
        editor->setFilePath(QString::fromStdString(path));
        editor->setAlertPresenter([this](const QString& m) { alerts << m; });
        editor->showWindow(QStringLiteral("Editor"));
        return editor;
    }
    EditVideoWindowController::Views& v() { return editor->views(); }
    void TearDown() override {
        if (editor) editor->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(editor.isNull());
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // The whole value at once, as a paste does (typing applies every keystroke's value).
    static void typeInto(kestrel::widgets::RDTextField* field, const QString& text) {
        field->setText(text);
        Q_EMIT field->textEdited(text);
    }
};

}  // namespace

TEST_F(EditorFixture, EveryTileOpensItsPanelOnARealVideo) {
    const struct {
        int64_t tool;
        bool magic;
        int64_t expected;
        const char* panel;
    } tiles[] = {
        {1, false, 1, "trim"},       {4, false, 4, "crop"},   {16, false, 16, "water"}, {16, false, 16, "water"},
        {32, false, 32, "caption"},  {64, false, 64, "music"}, {8, false, 8, "effect"},  {8, false, 8, "effect"},
        {2, false, 4, "crop"},       {8, true, 8, "effect"},
    };
    for (const auto& t : tiles) {
        open(t.tool, sampleVideo(), t.magic);
        ASSERT_TRUE(editor->fileData()) << t.tool;
        ASSERT_NE(editor->rdPlayer(), nullptr);
        EXPECT_EQ(editor->toolItemType(), t.expected);
        EXPECT_EQ(editor->fileData()->sourceData.width, 320);
        const QString panel = QString::fromLatin1(t.panel);
        QWidget* shown = panel == "trim" ? v().trimView
                         : panel == "crop" ? v().cropView
                         : panel == "water" ? v().waterView
                         : panel == "caption" ? v().captionView
                         : panel == "music" ? v().musicContentView
                                            : v().kxfxView;
        for (QWidget* p : v().panels()) EXPECT_EQ(!p->isHidden(), p == shown) << t.tool << " " << t.panel;
        EXPECT_EQ(v().cliper && !v().cliper->isHidden(), t.expected == 4);
        EXPECT_TRUE(alerts.isEmpty());
        TearDown();
    }
}

TEST_F(EditorFixture, UnknownToolTypesOpenTheTrimPanel) {
    for (int64_t tool : {0, 3, 5, 7}) {
        open(tool);
        EXPECT_EQ(editor->toolItemType(), 1);
        EXPECT_FALSE(v().trimView->isHidden());
        TearDown();
    }
}

TEST_F(EditorFixture, FileWithoutVideoShowsTheAlert) {
    TempDir dir;
    FixtureSpec spec;
    spec.width = 0;
    spec.duration_s = 1.0;
    makeMedia(dir.file("tone.m4a"), spec);
    open(1, dir.file("tone.m4a"));
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], services::localized(QStringLiteral("Pleaseselectedvideo'sfilestring")));
    EXPECT_EQ(editor->rdPlayer(), nullptr);
}

TEST_F(EditorFixture, PreviewPlaysPausesAndRewindsAtTheEnd) {
    open(1);
    click(v().b_playPauseBtn);
    EXPECT_TRUE(editor->isPlaying());
    EXPECT_TRUE(v().b_stopBtn->isEnabled());
    EXPECT_TRUE(v().b_playPauseBtn->selected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->rdPlayer()->currentTime().seconds() > 0.3; }, 20000));
    EXPECT_NE(v().currentTimeLabel->text(), QStringLiteral("00:00:00.000"));
    click(v().b_playPauseBtn);
    EXPECT_FALSE(editor->isPlaying());
    EXPECT_FALSE(v().b_playPauseBtn->selected());

    // Played to the end: paused again at the start of the range (the player stops first, and
    // the window rewinds it once the end is reported).
    click(v().b_playPauseBtn);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !editor->isPlaying() && editor->rdPlayer()->currentTime().seconds() < 0.05; }, 30000));
    EXPECT_NEAR(editor->rdPlayer()->currentTime().seconds(), 0.0, 0.05);
    EXPECT_NEAR(editor->cutTimeRange_stop(), editor->rdPlayer()->duration().seconds() * 1e6, 1.0);
    EXPECT_FALSE(v().b_playPauseBtn->selected());
}

TEST_F(EditorFixture, TrimFromFieldsPlayHeadAndModeLandsInTheJob) {
    open(1);
    const double duration = editor->rdPlayer()->duration().seconds();
    EXPECT_EQ(v().stopSecondsField->text(), QString::asprintf("%02i", int(duration)));
    typeInto(v().startSecondsField, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(editor->cutTimeRange_start(), 1000000.0);
    EXPECT_NEAR(v().cutProgressView->lowerValue(), 1.0 / duration, 1e-4);
    // A start after the end is not taken.
    typeInto(v().startHourField, QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(editor->cutTimeRange_start(), 1000000.0);
    typeInto(v().startHourField, QStringLiteral("00"));

    click(v().removeTimeSelectedPart);
    EXPECT_TRUE(editor->isTrimFanxuan());
    ASSERT_TRUE(editor->commitEditsToJob());
    EXPECT_EQ(editor->fileData()->cutTimeRange_start, 1000000);
    EXPECT_EQ(editor->fileData()->cutTimeRange_stop, int64_t(std::stod(v().stopSecondsField->text().toStdString()) * 1e6 +
                                                             v().stopMioSecondsField->text().toInt() * 1000.0));
    EXPECT_TRUE(editor->fileData()->isTrimFanxuan);

    // From the play head.
    editor->actionSeekToTimeForCutProgressViewBlock(v().cutProgressView, 0.25f);
    click(v().setStartTrimBtn);
    EXPECT_NEAR(double(editor->fileData()->cutTimeRange_start), 0.25 * duration * 1e6, 50000);
    EXPECT_EQ(v().startMioSecondsField->text().size(), 3);

    // Spin step on the clicked field: plain integers, limited.
    editor->actionMouseDownForTextFieldBlock(v().startSecondsField);
    v().startSecondsField->setText(QStringLiteral("0"));
    click(v().startStepperUp);
    EXPECT_EQ(v().startSecondsField->text(), QStringLiteral("1"));
    click(v().startStepperDown);
    click(v().startStepperDown);
    EXPECT_EQ(v().startSecondsField->text(), QStringLiteral("0"));
}

TEST_F(EditorFixture, CropRotationAndMirrorFromTheControlsLandInTheJob) {
    open(4);
    kestrel::editor::RDUICliper* cliper = v().cliper;
    ASSERT_NE(cliper, nullptr);
    EXPECT_EQ(editor->videoSize(), QSizeF(320, 240));
    const QSizeF overlay = cliper->size();
    // Drag the bottom-left corner inwards.
    cliper->pressAt({2, 2});
    cliper->dragTo({overlay.width() / 4, overlay.height() / 4});
    cliper->releaseAt({overlay.width() / 4, overlay.height() / 4});
    const QRectF clip = editor->editVideoClipRect();
    EXPECT_NEAR(clip.x(), 80, 2);
    EXPECT_NEAR(clip.y(), 60, 2);
    EXPECT_NEAR(clip.width(), 240, 2);
    EXPECT_EQ(editor->editState().cropMargins, kestrel::editor::cropMargins(clip, {320, 240}));
    EXPECT_EQ(v().cropLeftField->text(), QString::number(int(clip.x())));
    EXPECT_EQ(editor->editState().cropMargins.left % 2, 0);

    // Mirroring keeps the crop the overlay shows.
    click(v().horizontal_mirrorBtn);
    EXPECT_EQ(editor->hFlip(), 1);
    EXPECT_EQ(editor->editVideoClipRect(), clip);
    EXPECT_EQ(editor->editState().cropMargins, kestrel::editor::cropMargins(clip, {320, 240}));

    // A window resize keeps it too, and the overlay still shows it.
    v().window->resize(v().window->width() + 200, v().window->height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->editVideoClipRect(), clip);
    const auto shown = kestrel::editor::overlayToVideo(cliper->getclipRectFrame(), cliper->size(), editor->videoSize());
    ASSERT_TRUE(shown);
    EXPECT_NEAR(shown->x(), clip.x(), 1.5);
    EXPECT_NEAR(shown->width(), clip.width(), 1.5);

    // A quarter turn: the crop starts over on the turned picture and the limits turn with it.
    click(v().right_ratioBtn);
    EXPECT_EQ(editor->playerRotateAngle(), 90);
    EXPECT_EQ(editor->videoSize(), QSizeF(240, 320));
    EXPECT_EQ(v().original_SizeValueLabel->text(), QStringLiteral("240 x 320"));
    EXPECT_EQ(editor->convertCropSize(), kestrel::model::RECT{});
    typeInto(v().cropHeightField, QStringLiteral("300"));
    EXPECT_DOUBLE_EQ(editor->editVideoClipRect().height(), 300);
    typeInto(v().cropWidthField, QStringLiteral("300"));
    EXPECT_DOUBLE_EQ(editor->editVideoClipRect().width(), 240);
    typeInto(v().cropWidthField, QStringLiteral("200"));
    typeInto(v().cropTopField, QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(editor->editVideoClipRect().y(), 20);  // 320 - 300 - 0
    EXPECT_EQ(editor->editState().cropMargins, (kestrel::model::RECT{0, 0, 40, 20}));
    // The stepper bound for the width is the turned width.
    editor->actionMouseDownForTextFieldBlock(v().cropWidthField);
    v().cropWidthField->setText(QStringLiteral("240"));
    click(v().cropWidthStepperUpBtn);
    EXPECT_EQ(v().cropWidthField->text(), QStringLiteral("240"));

    click(v().horizontal_mirrorBtn);  // at 90 degrees the picture's vertical flip
    EXPECT_EQ(editor->vFlip(), 1);
    const kestrel::session::EditState state = editor->editState();
    EXPECT_EQ(state.userAngleDegrees(), 90);
    EXPECT_TRUE(state.hFlip);
    EXPECT_TRUE(state.vFlip);
    EXPECT_EQ(state.cropMargins, editor->convertCropSize());

    for (int i = 0; i < 3; ++i) click(v().right_ratioBtn);
    EXPECT_EQ(editor->playerRotateAngle(), 0);
    click(v().left_ratioBtn);
    EXPECT_EQ(editor->playerRotateAngle(), 270);
}

TEST_F(EditorFixture, KeepAspectAndRangeBarFollowTheirRules) {
    open(4);
    auto* cliper = v().cliper.data();
    cliper->pressAt({2, 2});
    cliper->dragTo({60, 40});
    click(v().keepAspectBtn);
    EXPECT_EQ(cliper->crop_Type(), 2);
    EXPECT_EQ(editor->editVideoClipRect(), QRectF(0, 0, 320, 240));
    EXPECT_EQ(v().cropLeftField->text(), QStringLiteral("0"));
    EXPECT_EQ(v().cropTopField->text(), QStringLiteral("0"));
    EXPECT_EQ(v().cropWidthField->text(), QStringLiteral("320"));
    // With the aspect kept, a typed width brings its height.
    typeInto(v().cropWidthField, QStringLiteral("160"));
    EXPECT_DOUBLE_EQ(editor->editVideoClipRect().height(), 120);
    click(v().keepAspectBtn);
    EXPECT_EQ(cliper->crop_Type(), 1);
    EXPECT_DOUBLE_EQ(editor->editVideoClipRect().width(), 160);

    click(v().cutButton);
    const double d = editor->rdPlayer()->duration().seconds();
    editor->actionMouseMovedForCutProgressViewBlock(v().cutProgressView, 0.25f, 0.75f, 2);
    EXPECT_NEAR(editor->cutTimeRange_stop(), 0.75 * d * 1e6, 1.0);
    EXPECT_NEAR(editor->rdPlayer()->currentTime().seconds(), 0.75 * d, 0.05);
    EXPECT_EQ(v().stopSecondsField->text(), QString::asprintf("%02i", int(0.75f * float(d))));
    editor->actionMouseMovedForCutProgressViewBlock(v().cutProgressView, 0.25f, 0.75f, 1);
    EXPECT_EQ(v().startMioSecondsField->text(), QString::asprintf("%03i", kestrel::editor::splitSeconds(0.25f * float(d)).millis));
    editor->actionSeekToTimeForCutProgressViewBlock(v().cutProgressView, 7.0f);
    EXPECT_NEAR(editor->rdPlayer()->currentTime().seconds(), d, 0.05);
    // The end taken before the start: the start goes back to zero.
    editor->actionSeekToTimeForCutProgressViewBlock(v().cutProgressView, 0.1f);
    click(v().setStopTrimBtn);
    EXPECT_EQ(v().startSecondsField->text(), QStringLiteral("00"));
    EXPECT_EQ(editor->fileData()->cutTimeRange_start, 0);
    EXPECT_NEAR(double(editor->fileData()->cutTimeRange_stop), 0.1 * d * 1e6, 50000);
    click(v().resetStopTrimBtn);
    EXPECT_FLOAT_EQ(v().cutProgressView->upperValue(), 1.0f);
}

TEST_F(EditorFixture, RotateAndResetKeepSubtitleAndWatermarks) {
    TempDir dir;
    const QString caption = QString::fromStdString(dir.file("caption.srt"));
    writeBytes(caption.toStdString(), "1\n00:00:00,000 --> 00:00:01,000\nHello\n\n");
    open(4);
    ASSERT_TRUE(editor->sidePanels()->subtitlePanel()->loadSubtitleFile(caption).ok);
    editor->sidePanels()->watermarkPanel()->addTextWaterMark();
    click(v().right_ratioBtn);
    click(v().resetRotateBtn);
    EXPECT_EQ(editor->playerRotateAngle(), 0);
    EXPECT_EQ(editor->hFlip(), 0);
    EXPECT_EQ(editor->subtitleParam().subtitlePath, caption);
    EXPECT_EQ(editor->waterMarkList().size(), 1);
    EXPECT_EQ(v().cropWidthField->text(), QStringLiteral("320"));
    EXPECT_EQ(v().cropTopField->text(), QStringLiteral("0"));
}

TEST_F(EditorFixture, AddingAnotherFileReloadsEveryPanel) {
    TempDir dir;
    FixtureSpec spec;
    spec.width = 640;
    spec.height = 360;
    spec.duration_s = 1.0;
    makeMedia(dir.file("wide.mkv"), spec);
    open(4);
    click(v().right_ratioBtn);
    editor->setFileChooser([&] {
        return QStringList{QString::fromStdString(dir.file("wide.mkv")), QString::fromStdString(sampleVideo())};
    });
    click(v().addfileButton);
    ASSERT_TRUE(editor->fileData());
    EXPECT_EQ(editor->filePath(), QString::fromStdString(dir.file("wide.mkv")));
    EXPECT_EQ(editor->fileData()->sourceData.width, 640);
    EXPECT_EQ(editor->playerRotateAngle(), 0);
    EXPECT_EQ(editor->videoSize(), QSizeF(640, 360));
    EXPECT_EQ(editor->toolItemType(), 4);
    ASSERT_TRUE(v().cliper);
    EXPECT_FALSE(v().cliper->isHidden());
    EXPECT_EQ(editor->editVideoClipRect(), QRectF(0, 0, 640, 360));
    // A cancelled panel changes nothing.
    editor->setFileChooser([] { return QStringList{}; });
    click(v().addfileButton);
    EXPECT_EQ(editor->fileData()->sourceData.width, 640);
}

TEST_F(EditorFixture, LanguageChangeRetitlesTheWindow) {
    open(1);
    EXPECT_EQ(v().cutButton->contentTitle(), services::localized(QStringLiteral("tool_trimItemTitle")));
    EXPECT_TRUE(v().windowTitleLabel->text().startsWith(services::localized(QStringLiteral("VelmoraLabelTitle"))));
    v().cutButton->setContentTitle(QString());
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
    EXPECT_EQ(v().cutButton->contentTitle(), services::localized(QStringLiteral("tool_trimItemTitle")));
}

TEST_F(EditorFixture, ChoosingAProfileRewritesTheJobTarget) {
    open(1);
    auto* bar = v().formatBar;
    ASSERT_NE(bar, nullptr);
    ASSERT_FALSE(bar->functionItemButtons().empty());
    for (kestrel::widgets::ZorButton* profile : bar->functionItemButtons()) {
        bar->actionFunctionItemScrollChild(profile);
        const auto& choice = bar->choice();
        const kestrel::model::FileData& target = editor->fileData()->targetData;
        EXPECT_EQ(target.extension, choice.extName.value_or(editor->fileData()->sourceData.extension));
        if (choice.resolution && choice.resolution->contains(QLatin1Char('x')) && !bar->chosenIsAudio())
            EXPECT_EQ(target.width, choice.resolution->section(QLatin1Char('x'), 0, 0).toInt());
    }
}

// Choices made in a profile's settings dialog reach the job's target while the dialog is open,
// each as the dialog stored it.
TEST_F(EditorFixture, SettingsDialogChoicesReachTheJobTarget) {
    open(1);
    auto* bar = v().formatBar;
    const qsizetype at = bar->functionItemChilds().indexOf(QStringLiteral("MP4"));
    ASSERT_GE(at, 0);
    kestrel::widgets::ZorButton* mp4 = bar->functionItemButtons()[size_t(at)];
    bar->actionFunctionItemScrollChild(mp4);
    ASSERT_EQ(editor->fileData()->targetData.width, 1280);
    auto* settingsButton = mp4->findChild<QPushButton*>("settingsButton");
    ASSERT_NE(settingsButton, nullptr);
    const auto itemContaining = [](QComboBox* box, const QString& text) {
        for (int i = 0; i < box->count(); ++i)
            if (box->itemText(i).contains(text)) return i;
        return -1;
    };
    kestrel::model::FileData duringTheDialog;
    bar->setSettingsRunner([&](exportkit::SettingWindowController* dialog) {
        QComboBox* size = dialog->popUp(exportkit::settings::Setting::FrameSize);
        QComboBox* rate = dialog->popUp(exportkit::settings::Setting::FrameRate);
        const int big = itemContaining(size, QStringLiteral("1920x1080"));
        const int fifty = itemContaining(rate, QStringLiteral("50"));
        ASSERT_GE(big, 0);
        ASSERT_GE(fifty, 0);
        dialog->chooseItem(exportkit::settings::Setting::FrameSize, big);
        dialog->chooseItem(exportkit::settings::Setting::FrameRate, fifty);
        duringTheDialog = editor->fileData()->targetData;
    });
    kestrel::test::click(settingsButton);
    EXPECT_EQ(duringTheDialog.width, 1920);
    EXPECT_EQ(duringTheDialog.height, 1080);
    EXPECT_DOUBLE_EQ(duringTheDialog.fps, 50.0);
    EXPECT_EQ(editor->fileData()->targetData.width, 1920);
    EXPECT_DOUBLE_EQ(editor->fileData()->targetData.fps, 50.0);
}

TEST_F(EditorFixture, CropFrameIsThePictureThePreviewShows) {
    TempDir dir;
    FixtureSpec spec;
    spec.rotation_deg = 90;
    spec.duration_s = 1.0;
    makeMedia(dir.file("phone.mp4"), spec);
    open(4, dir.file("phone.mp4"));
    auto* player = editor->rdPlayer();
    ASSERT_NE(player, nullptr);
    // The source's own rotation is part of what is shown, and of the crop frame.
    EXPECT_EQ(editor->videoSize(), QSizeF(240, 320));
    EXPECT_EQ(QSizeF(player->frameWidth(), player->frameHeight()), editor->videoSize());
    click(v().right_ratioBtn);
    player->Refresh();
    EXPECT_EQ(editor->videoSize(), QSizeF(320, 240));
    EXPECT_EQ(QSizeF(player->frameWidth(), player->frameHeight()), editor->videoSize());
    // The overlay lies on the picture: same shape as the frame.
    const QSizeF overlay = v().cliper->size();
    EXPECT_NEAR(overlay.width() / overlay.height(), 320.0 / 240.0, 0.02);
}

TEST_F(EditorFixture, SnapshotsNeverOverwrite) {
    TempDir out;
    open(1);
    editor->setOutputPath(QString::fromStdString(out.path()));
    editor->setCoverStyle(QStringLiteral("jpg"));
    editor->actionCarameraBtn();
    const QString first = editor->lastSnapshotPath();
    editor->actionCarameraBtn();
    const QString second = editor->lastSnapshotPath();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(first.endsWith(QStringLiteral(".jpg")));
    const QImage picture(second);
    EXPECT_EQ(picture.size(), QSize(320, 240));
    // Pictures the panels save never replace a file.
    const QString saved = QString::fromStdString(out.file("mark.png"));
    EXPECT_TRUE(editor->saveImage(picture, saved));
    EXPECT_FALSE(editor->saveImage(QImage(first), saved));
    EXPECT_EQ(QImage(saved).size(), QSize(320, 240));
    EXPECT_FALSE(editor->saveImage(picture, QString::fromStdString(out.file("no/such/folder/x.png"))));
    editor->setCoverStyle(QStringLiteral("bmp"));
    editor->actionCarameraBtn();
    EXPECT_TRUE(editor->lastSnapshotPath().endsWith(QStringLiteral(".bmp")));
    EXPECT_EQ(QImage(editor->lastSnapshotPath()).size(), QSize(320, 240));
}

namespace {
struct RunningExport : exportkit::ExportDialogBase {
    void startExport() override {}
};
}  // namespace

TEST_F(EditorFixture, ClosingDuringAnExportStopsItAndPostsTheNotice) {
    open(1);
    RunningExport dialog;
    dialog.setExporting(true);
    int stopRequests = 0;
    dialog.setStartExportCallbackBlock([&](const QString&) {
        ++stopRequests;
        dialog.setExporting(false);
    });
    editor->setExportProgressWindow(&dialog);
    int notices = 0;
    const auto token = platform::NotificationCenter::defaultCenter().addObserver(
        platform::kWillCloseNotification, [&](const platform::Notification&) { ++notices; });
    click(v().b_playPauseBtn);
    editor->closeAction();
    platform::NotificationCenter::defaultCenter().removeObserver(token);
    EXPECT_EQ(stopRequests, 1);
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(dialog.exporting());
}
