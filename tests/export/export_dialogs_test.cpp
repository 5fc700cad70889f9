// The two export dialogs driven as a user and an owning tool would: the remembered folder, the
// proposed names, the Start/Stop block and every end state through ExportSession.
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

#include "tests/export/qt_print.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace exportkit;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

void click(kestrel::widgets::ZorButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QApplication::processEvents();  // folder and open actions run from the main queue
}

class ExportDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        platform::UserDefaults::standard().removeObjectForKey("kOutputDir");
        folder_ = QString::fromStdString(dir_.path());
        ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts_.append(text); });
    }
    void TearDown() override { platform::UserDefaults::standard().removeObjectForKey("kOutputDir"); }

    template <class Dialog>
    void prepare(Dialog& dialog) {
        dialog.setFolderChooser([this](const QString&) { return folder_; });
        dialog.setStopConfirmer([this](const QString& key) {
            stopQuestions_.append(key);
            return confirmStop_;
        });
        dialog.setRevealer([this](const QString& path) {
            revealed_.append(path);
            return true;
        });
        dialog.setStartExportCallbackBlock([this](const QString& path) { calls_.append(path); });
    }

    TempDir dir_;
    QString folder_;
    QStringList calls_, alerts_, revealed_, stopQuestions_;
    bool confirmStop_ = true;
};

}  // namespace

TEST_F(ExportDialogs, FolderIsRememberedAcrossDialogs) {
    {
        ExportWindowController dialog;
        prepare(dialog);
        dialog.loadWindow();
        EXPECT_EQ(dialog.outputPath(), ExportDialogBase::defaultOutputFolder());
        dialog.setFolderChooser([](const QString&) { return QString(); });  // cancelled panel
        click(dialog.selectOutputDirBtn);
        EXPECT_EQ(dialog.outputPath(), ExportDialogBase::defaultOutputFolder());
        dialog.setFolderChooser([this](const QString&) { return folder_ + "/"; });
        click(dialog.selectOutputDirBtn);
        EXPECT_EQ(dialog.outputPath(), folder_);
        EXPECT_EQ(dialog.outputPathTextFiled->text(), folder_);
    }
    StartExportWindowController later;
    later.loadWindow();
    EXPECT_EQ(later.outputPath(), folder_);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("kOutputDir"), folder_);
}

TEST_F(ExportDialogs, StartProposesAFreeDateNameWithTheInputExtension) {
    platform::UserDefaults::standard().setString("kOutputDir", folder_ + "/made/on/start");
    ExportWindowController dialog;
    prepare(dialog);
    dialog.setInputFileName("clip.MOV");
    dialog.loadWindow();
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 1);
    const QFileInfo first(calls_[0]);
    EXPECT_EQ(first.absolutePath(), folder_ + "/made/on/start");
    EXPECT_TRUE(QFileInfo(first.absolutePath()).isDir());  // the folder is made before the job
    EXPECT_EQ(first.suffix(), "MOV");
    EXPECT_TRUE(QRegularExpression("^\\d{14}$").match(first.completeBaseName()).hasMatch());
    EXPECT_EQ(dialog.outputFileName(), first.fileName());

    // A file already there is never proposed again.
    writeBytes(calls_[0].toStdString(), "taken");
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 2);
    EXPECT_NE(calls_[1], calls_[0]);
    EXPECT_FALSE(QFileInfo::exists(calls_[1]));

    dialog.setInputFileName("noextension");
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 3);
    EXPECT_FALSE(QFileInfo(calls_[2]).fileName().contains('.'));
}

TEST_F(ExportDialogs, EveryOutcomeLeavesTheRunningState) {
    platform::UserDefaults::standard().setString("kOutputDir", folder_);
    ExportWindowController dialog;
    prepare(dialog);
    dialog.setInputFileName("a.mp4");
    ExportSession session(&dialog);
    dialog.setStartExportCallbackBlock([&](const QString& path) {
        calls_.append(path);
        if (!dialog.exporting()) session.begin();
    });
    dialog.show();

    const auto startRun = [&] {
        click(dialog.startBtn);
        ASSERT_TRUE(dialog.exporting());
        EXPECT_EQ(dialog.startBtn->contentTitle(), services::localized("Stop"));
        EXPECT_TRUE(dialog.progressView->isVisible());
        session.setProgress(0.5);
        EXPECT_FLOAT_EQ(dialog.progressView->progress(), 0.5f);
    };
    const auto expectReady = [&] {
        EXPECT_FALSE(dialog.exporting());
        EXPECT_TRUE(dialog.startBtn->isVisible());
        EXPECT_EQ(dialog.startBtn->contentTitle(), services::localized("Start"));
        EXPECT_FALSE(dialog.openBtn->isVisible());
        EXPECT_FALSE(dialog.progressView->isVisible());
    };

    // Stopped: Start while running asks first; a refusal sends nothing.
    startRun();
    confirmStop_ = false;
    click(dialog.startBtn);
    EXPECT_EQ(calls_.size(), 1);
    confirmStop_ = true;
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 2);
    EXPECT_EQ(calls_[1], calls_[0]);  // the stop request names the running output
    EXPECT_EQ(stopQuestions_.last(), "StopExportMessage");
    session.finishStopped();
    expectReady();
    EXPECT_TRUE(alerts_.isEmpty());

    // Failed with a code and with a message.
    startRun();
    session.finishFailed(-7);
    expectReady();
    EXPECT_EQ(alerts_, QStringList{"error:-7"});
    startRun();
    session.finishFailed(QString("disk full"));
    expectReady();
    EXPECT_EQ(alerts_.last(), "disk full");

    // Closing the window while running is a stop request and keeps it open.
    startRun();
    const qsizetype before = calls_.size();
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(calls_.size(), before + 1);

    // Finished: Open and Close offered; Open reveals the written file and closes.
    const QString written = folder_ + "/result(2).mp4";
    session.finishSucceeded(written);
    EXPECT_FALSE(dialog.exporting());
    EXPECT_FALSE(dialog.startBtn->isVisible());
    EXPECT_TRUE(dialog.openBtn->isVisible());
    EXPECT_TRUE(dialog.closeBtn->isVisible());
    EXPECT_FLOAT_EQ(dialog.progressView->progress(), 1.0f);
    EXPECT_EQ(dialog.outputFileName(), "result(2).mp4");
    EXPECT_TRUE(dialog.succeededLabel->isVisible());
    EXPECT_EQ(dialog.succeededLabel->text(), "result(2).mp4");
    click(dialog.openBtn);
    EXPECT_EQ(revealed_, QStringList{written});
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ExportDialogs, OptionBoxesAndProgressPlacement) {
    ExportWindowController hidden;
    hidden.loadWindow();
    EXPECT_EQ(hidden.height() - hidden.progressGroup->geometry().bottom() - 1, 78);
    EXPECT_TRUE(hidden.mergeAllIntoOne->isHidden());

    ExportWindowController shown;
    shown.setHiddenMergeAllIntoOne(false);
    shown.setIsMergeAllIntoOne(true);
    ExportSession session(&shown);
    EXPECT_EQ(shown.height() - shown.progressGroup->geometry().bottom() - 1, 63);
    EXPECT_TRUE(shown.mergeAllIntoOne->selected());
    shown.show();
    session.finishSucceeded(folder_ + "/x.mp4");
    click(shown.mergeAllIntoOne);
    EXPECT_FALSE(shown.isMergeAllIntoOne());
    EXPECT_TRUE(shown.startBtn->isVisible());  // a changed option offers Start again
    EXPECT_FALSE(shown.openBtn->isVisible());
}

TEST_F(ExportDialogs, ReverseNamesAfterTheInputWithTheChosenFormat) {
    platform::UserDefaults::standard().setString("kOutputDir", folder_);
    StartExportWindowController dialog;
    prepare(dialog);
    dialog.setIsReverse(true);
    dialog.setInputFileName("a.mkv");
    ExportSession session(&dialog);
    dialog.show();
    EXPECT_EQ(dialog.allowedOutputTypes().size(), 20);
    EXPECT_EQ(dialog.qualityMenuIndex(), 1);
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 1);
    EXPECT_TRUE(QRegularExpression("/a_\\d{14}\\.mkv$").match(calls_[0]).hasMatch()) << calls_[0].toStdString();
    EXPECT_FALSE(dialog.outputFormatBtn->isEnabled());  // menus wait for the job
    session.begin();
    session.finishStopped();
    EXPECT_TRUE(dialog.outputFormatBtn->isEnabled());

    dialog.menuClicked(StartExportWindowController::kFormatMenu, int(dialog.allowedOutputTypes().indexOf("mp3")));
    dialog.menuClicked(StartExportWindowController::kQualityMenu, 2);
    EXPECT_EQ(dialog.qualityMenuIndex(), 2);
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 2);
    EXPECT_TRUE(QRegularExpression("/a_\\d{14}\\.mp3$").match(calls_[1]).hasMatch()) << calls_[1].toStdString();

    // Picking a row after a finished export brings Start back.
    session.begin();
    session.finishSucceeded(calls_[1]);
    EXPECT_FALSE(dialog.startBtn->isVisible());
    dialog.menuClicked(StartExportWindowController::kQualityMenu, 0);
    EXPECT_TRUE(dialog.startBtn->isVisible());

    StartExportWindowController audio;
    audio.setIsReverse(true);
    audio.setIsAudioInput(true);
    audio.loadWindow();
    EXPECT_EQ(audio.allowedOutputTypes().size(), 11);
}

TEST_F(ExportDialogs, GifMakerNamesByDateWithoutFormatRow) {
    platform::UserDefaults::standard().setString("kOutputDir", folder_);
    StartExportWindowController dialog;
    prepare(dialog);
    dialog.setIsExportGif(true);
    dialog.setInputFileName("movie.mov");
    ExportSession session(&dialog);
    dialog.show();
    EXPECT_FALSE(dialog.formatRow->isVisible());
    click(dialog.startBtn);
    ASSERT_EQ(calls_.size(), 1);
    EXPECT_TRUE(QRegularExpression("/\\d{14}\\.gif$").match(calls_[0]).hasMatch()) << calls_[0].toStdString();
    session.begin();
    click(dialog.startBtn);
    EXPECT_EQ(stopQuestions_.last(), "gif_miker_CancelStopGifMessage");
}

TEST_F(ExportDialogs, GifMakerNamesTheOutputAsWhatItWrites) {
    platform::UserDefaults::standard().setString("kOutputDir", folder_);
    struct Case {
        bool pictures;
        const char* pattern;
    } const cases[] = {{false, "/\\d{14}\\.gif$"}, {true, "/\\d{14}\\.jpg$"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        calls_.clear();
        StartExportWindowController dialog;
        prepare(dialog);
        dialog.setIsExportGif(true);
        dialog.setIsExportJpg(c.pictures);
        dialog.setInputFileName("movie.mov");
        ExportSession session(&dialog);
        dialog.show();
        click(dialog.startBtn);
        ASSERT_EQ(calls_.size(), 1);
        EXPECT_TRUE(QRegularExpression(c.pattern).match(calls_[0]).hasMatch()) << calls_[0].toStdString();
        EXPECT_TRUE(QRegularExpression(c.pattern).match("/" + dialog.outputFileName()).hasMatch());
    }
}
