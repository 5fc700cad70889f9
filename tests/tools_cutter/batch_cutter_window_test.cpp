// The batch cutter driven through its own buttons on generated files: refused files named with
// the reason, keep and remove runs checked with ffprobe and ffmpeg, Cancel leaving no file,
// the list buttons and apply-to-all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "editor/shutter_sound.h"
#include "services/language.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/support_address_resources.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tests/tools_cutter/cut_test_helpers.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/time_box.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/output_folder_popup.h"
#include "tools/shared/support_mail.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

using kestrel::tools::cutter::BatchCutterWindowController;
using kestrel::test::TempDir;
using namespace kestrel::test::cutter;
namespace kt = kestrel::test;

namespace {

// Takes the mail links the window asks the desktop to open.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

void click(kestrel::widgets::ZorButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }

void typeTime(kestrel::tools::cutter::TimeBox* box, int seconds, int hundredths) {
    for (int i = 0; i < 4; ++i) {
        QLineEdit* field = box->field(i);
        const int value = i == 2 ? seconds : i == 3 ? hundredths : 0;
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::asprintf("%02d", value));
        QTest::keyClick(field, Qt::Key_Return);
    }
}

struct BatchWindowTest : ::testing::Test {
    // The empty window shows a support address only when the build has one: give it one.
    kestrel::test::SupportAddressResources supportAddress{QStringLiteral("help@example.org")};
    TempDir dir;
    QStringList panelAnswer;
    std::unique_ptr<BatchCutterWindowController> window;
    QString outputFolder;

    void SetUp() override {
        kestrel::widgets::setOpenPanelRunner([this](const kestrel::widgets::OpenPanelRequest&) { return panelAnswer; });
        outputFolder = QString::fromStdString(dir.file("cuts"));
        QDir().mkpath(outputFolder);
        kestrel::tools::shared::OutputFolderPopup::setFolderChooser([this](const QString&) { return outputFolder; });
        window = std::make_unique<BatchCutterWindowController>();
        window->show();
        window->outputFolderPopup()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
        ASSERT_EQ(window->outputPath(), outputFolder);
    }
    void TearDown() override {
        window.reset();
        kestrel::widgets::setOpenPanelRunner({});
        kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});
    }

    void selectRow(int row) {
        auto* cell = window->fileListTableView()->cell(row);
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_TRUE(waitFor([&] { return window->rangePanel()->hasFile() && window->fileListTableView()->selectedRow() == row; }));
        QTest::qWait(50);
    }
    void runAndWait() {
        bool ended = false;
        QObject::connect(window.get(), &BatchCutterWindowController::runEnded, [&] { ended = true; });
        click(window->startButton());
        ASSERT_TRUE(waitFor([&] { return ended; }));
    }
};

TEST_F(BatchWindowTest, RefusedFilesAreListedWithTheReasonAndTheOthersAdded) {
    const std::string a = dir.file("a.mp4"), broken = dir.file("broken.mp4"), b = dir.file("b.mkv");
    kestrel::test::makeMedia(a, {});
    kestrel::test::writeBytes(broken, std::string(2048, '\x11'));
    kestrel::test::makeMedia(b, {});
    panelAnswer = {QString::fromStdString(a), QString::fromStdString(broken), QString::fromStdString(b),
                   QString::fromStdString(dir.file("gone.mp4"))};
    ModalCloser closer;
    click(window->addFileButton());
    ASSERT_EQ(window->fileList().size(), 2);
    EXPECT_EQ(window->fileList()[0]->name, "a.mp4");
    EXPECT_EQ(window->fileList()[1]->name, "b.mkv");
    EXPECT_EQ(closer.closed(), 1);
    const QString alert = window->lastAlertText();
    EXPECT_TRUE(alert.contains("broken.mp4: ")) << alert.toStdString();
    EXPECT_TRUE(alert.contains("gone.mp4: ")) << alert.toStdString();
    EXPECT_FALSE(alert.contains("a.mp4"));
    EXPECT_EQ(window->fileList()[0]->cutTimeRange_stop, int64_t(window->fileList()[0]->sourceData.duration * 1e6));
    EXPECT_TRUE(window->fileListTableView()->isVisible());
}

TEST_F(BatchWindowTest, ListButtonsMoveRemoveAndClear) {
    QStringList paths;
    for (const char* name : {"one.mp4", "two.mp4", "three.mp4"}) {
        kestrel::test::makeMedia(dir.file(name), {});
        paths << QString::fromStdString(dir.file(name));
    }
    panelAnswer = paths;
    click(window->addFileButton());
    ASSERT_EQ(window->fileList().size(), 3);
    EXPECT_FALSE(window->upButton()->isEnabled());
    selectRow(2);
    click(window->upButton());
    EXPECT_EQ(window->fileList()[1]->name, "three.mp4");
    EXPECT_EQ(window->fileListTableView()->selectedRow(), 1);
    click(window->downButton());
    EXPECT_EQ(window->fileList()[2]->name, "three.mp4");
    EXPECT_FALSE(window->downButton()->isEnabled());
    click(window->removeButton());
    ASSERT_EQ(window->fileList().size(), 2);
    // The selection never points past the list after a delete.
    EXPECT_LT(window->fileListTableView()->selectedRow(), 2);
    EXPECT_EQ(window->fileListTableView()->selectedItem(), window->fileList()[window->fileListTableView()->selectedRow()]);
    click(window->clearButton());
    EXPECT_TRUE(window->fileList().isEmpty());
    EXPECT_FALSE(window->fileListTableView()->isVisible());
    EXPECT_FALSE(window->startButton()->isEnabled());
}

TEST_F(BatchWindowTest, KeepAndRemoveRunsCutEveryFileExactly) {
    // Three files: two cut in keep mode off their key frames, one with its middle removed.
    QStringList paths;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 6;
    spec.gop = 50;
    for (const char* name : {"k1.mp4", "k2.mov"}) {
        kestrel::test::makeMedia(dir.file(name), spec);
        paths << QString::fromStdString(dir.file(name));
    }
    paths << QString::fromStdString(makeColourThirds(dir.file("thirds.mp4")));
    panelAnswer = paths;
    click(window->addFileButton());
    ASSERT_EQ(window->fileList().size(), 3);

    selectRow(0);
    typeTime(window->rangePanel()->startBox(), 1, 30);
    typeTime(window->rangePanel()->stopBox(), 4, 70);
    EXPECT_EQ(window->fileList()[0]->cutTimeRange_start, 1'300'000);
    EXPECT_EQ(window->fileList()[0]->cutTimeRange_stop, 4'700'000);
    // The same range on every file, then the third file in remove mode.
    click(window->applyToAllButton());
    EXPECT_EQ(window->fileList()[1]->cutTimeRange_start, 1'300'000);
    EXPECT_EQ(window->fileList()[2]->cutTimeRange_stop, 4'700'000);
    selectRow(2);
    typeTime(window->rangePanel()->startBox(), 2, 50);
    typeTime(window->rangePanel()->stopBox(), 7, 50);
    click(window->removeRangeButton());
    EXPECT_TRUE(window->fileList()[2]->isTrimFanxuan);
    EXPECT_FALSE(window->fileList()[0]->isTrimFanxuan);

    ModalCloser closer;
    runAndWait();
    EXPECT_EQ(closer.closed(), 1);
    EXPECT_FALSE(window->lastAlertText().isEmpty());
    EXPECT_FALSE(window->running());

    const std::string k1 = (outputFolder + "/k1.mp4").toStdString();
    const std::string k2 = (outputFolder + "/k2.mov").toStdString();
    const std::string thirds = (outputFolder + "/thirds.mp4").toStdString();
    for (const std::string& out : {k1, k2}) {
        const auto probed = kestrel::test::ffprobe(out, true);
        ASSERT_TRUE(probed.ok) << out << probed.error;
        EXPECT_EQ(probed.firstOf("video")->frames, 85) << out;  // 3.4 s at 25 fps
        EXPECT_EQ(probed.firstOf("video")->codec, "h264");
        EXPECT_EQ(decodeErrors(out), "") << out;
        const auto first = kestrel::test::decodeFrameRGB(out, 0, 160, 120);
        const auto source = kestrel::test::decodeFrameRGB(dir.file("k1.mp4"), 1.3, 160, 120);
        EXPECT_LT(kestrel::test::meanAbsDiff(first, source), 6.0) << out;
    }
    const auto hues = frameHues(thirds);
    EXPECT_EQ(std::count(hues.begin(), hues.end(), Hue::Green), 0);
    EXPECT_EQ(int(hues.size()), 150);  // 5.000 s at 30 fps
    EXPECT_NEAR(kestrel::test::ffprobe(thirds).duration_s, 5.0, 1.0 / 30 + 0.03);
    for (const auto& record : window->fileList()) EXPECT_TRUE(QFile::exists(record->exportPath));

    // A second run never overwrites: every output is numbered.
    runAndWait();
    EXPECT_TRUE(QFile::exists(outputFolder + "/k1(2).mp4"));
    EXPECT_TRUE(QFile::exists(outputFolder + "/thirds(2).mp4"));
}

TEST_F(BatchWindowTest, SnapshotWritesTheShownFrameIntoTheOutputFolder) {
    kestrel::test::FixtureSpec spec;
    spec.width = 352;
    spec.height = 288;
    const std::string video = dir.file("cif.mp4");
    kestrel::test::makeMedia(video, spec);
    panelAnswer = {QString::fromStdString(video)};
    click(window->addFileButton());
    ASSERT_TRUE(waitFor([&] { return window->rangePanel()->hasFile(); }));
    QTest::qWait(200);
    click(window->rangePanel()->snapshotButton());
    const QString path = window->lastSnapshotPath();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.startsWith(outputFolder + "/"));
    const QImage picture(path);
    EXPECT_EQ(picture.size(), QSize(352, 288));
    // A second one in the same second gets a name of its own.
    click(window->rangePanel()->snapshotButton());
    EXPECT_NE(window->lastSnapshotPath(), path);
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(BatchWindowTest, AFailedFileIsReportedAndNeverCalledFinished) {
    const std::string good = dir.file("good.mp4");
    kestrel::test::makeMedia(good, {});
    panelAnswer = {QString::fromStdString(good)};
    click(window->addFileButton());
    // The whole file removed: nothing is left to write.
    typeTime(window->rangePanel()->startBox(), 0, 0);
    click(window->removeRangeButton());
    ModalCloser closer;
    runAndWait();
    EXPECT_TRUE(window->lastAlertText().contains("good.mp4")) << window->lastAlertText().toStdString();
    EXPECT_FALSE(QFile::exists(outputFolder + "/good.mp4"));
}

TEST_F(BatchWindowTest, CancelStopsTheRunAndLeavesNoFile) {
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 30;
    spec.width = 1280;
    spec.height = 720;
    spec.gop = 250;
    const std::string longFile = dir.file("long.mp4");
    kestrel::test::makeMedia(longFile, spec);
    panelAnswer = {QString::fromStdString(longFile), QString::fromStdString(longFile)};
    click(window->addFileButton());
    selectRow(0);
    typeTime(window->rangePanel()->startBox(), 1, 10);
    bool ended = false;
    QObject::connect(window.get(), &BatchCutterWindowController::runEnded, [&] { ended = true; });
    ModalCloser closer;
    click(window->startButton());
    ASSERT_TRUE(window->running());
    ASSERT_TRUE(waitFor([&] {
        auto* cell = window->fileListTableView()->cell(0);
        return (cell && cell->progress() > 0.05f) || ended;
    }));
    click(window->startButton());
    ASSERT_TRUE(waitFor([&] { return ended; }));
    EXPECT_EQ(closer.closed(), 0);  // no finished alert after a cancel
    EXPECT_TRUE(QDir(outputFolder).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(window->addFileButton()->isEnabled());
}

// Files in a folder, hidden ones (an engine's unfinished temporary) too.
QStringList everyEntry(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Types a time into a box field by field, as a person does: click, type, Tab to the next.
void typeBoxTime(kestrel::tools::cutter::TimeBox* box, int seconds, int fraction) {
    const QString texts[4] = {"00", "00", QString::asprintf("%02d", seconds), QString::asprintf("%02d", fraction)};
    for (int i = 0; i < 4; ++i) kt::typeInto(box->field(i), texts[i], kt::Commit::Tab);
}

// A first file that fails as its job starts (its whole range removed) does not end the run
// early: the second file is cut, the run ends once, after it, and one alert names the first
// file with the reason, never a bare code.
TEST_F(BatchWindowTest, AFirstFileThatFailsAtOnceLeavesTheRunWhole) {
    const std::string one = dir.file("one.mp4"), two = dir.file("two.mp4");
    kt::makeMedia(one, kt::FixtureSpec{.duration_s = 2});
    kt::FixtureSpec longSpec;
    longSpec.duration_s = 12;
    longSpec.width = 640;
    longSpec.height = 360;
    longSpec.gop = 25;
    kt::makeMedia(two, longSpec);
    panelAnswer = {QString::fromStdString(one), QString::fromStdString(two)};
    kt::click(window->addFileButton());
    ASSERT_EQ(window->fileList().size(), 2);
    selectRow(0);
    kt::click(window->removeRangeButton());  // the whole file removed: nothing is left to write
    selectRow(1);
    typeBoxTime(window->rangePanel()->startBox(), 5, 0);
    typeBoxTime(window->rangePanel()->stopBox(), 10, 0);
    kt::click(window->removeRangeButton());
    ASSERT_EQ(window->fileList()[1]->cutTimeRange_start, 5'000'000);
    ASSERT_EQ(window->fileList()[1]->cutTimeRange_stop, 10'000'000);

    int endings = 0;
    bool secondWrittenAtTheEnd = false;
    QObject::connect(window.get(), &BatchCutterWindowController::runEnded, [&] {
        ++endings;
        secondWrittenAtTheEnd = QFile::exists(outputFolder + "/two.mp4");
    });
    ModalCloser closer;
    kt::click(window->startButton());
    EXPECT_TRUE(window->running()) << "the run goes on with the second file";
    ASSERT_TRUE(kt::waitUntil([&] { return endings > 0 && !window->running(); }));
    QTest::qWait(300);
    EXPECT_EQ(endings, 1);
    EXPECT_TRUE(secondWrittenAtTheEnd);
    EXPECT_EQ(closer.closed(), 1);
    const QString alert = window->lastAlertText();
    EXPECT_TRUE(alert.contains("one.mp4: " + services::localized("CutRangeEmptyMessage"))) << alert.toStdString();
    EXPECT_FALSE(alert.contains("error:")) << alert.toStdString();
    EXPECT_FALSE(alert.contains("two.mp4")) << alert.toStdString();
    EXPECT_FALSE(QFile::exists(outputFolder + "/one.mp4"));

    // What lies around the removed 5-10 s, every frame the source frame it must be.
    const std::string cut = (outputFolder + "/two.mp4").toStdString();
    EXPECT_TRUE(kt::decodesCleanly(cut));
    std::vector<int> kept;
    for (int f = 0; f < 125; ++f) kept.push_back(f);
    for (int f = 250; f < 300; ++f) kept.push_back(f);
    EXPECT_TRUE(kt::showsSourceSequence(kt::mapFrames(cut, two), kept));
    EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(cut), 0.1, 6.9));
}

// Cancel always cancels, also once the output folder has been moved away: no alert, the run
// ends stopped, and the moved folder keeps no part of the unfinished file.
TEST_F(BatchWindowTest, CancelStopsTheRunAfterTheOutputFolderMoved) {
    kt::FixtureSpec spec;
    spec.duration_s = 30;
    spec.width = 1280;
    spec.height = 720;
    spec.gop = 250;
    const std::string longFile = dir.file("long.mp4");
    kt::makeMedia(longFile, spec);
    panelAnswer = {QString::fromStdString(longFile)};
    kt::click(window->addFileButton());
    selectRow(0);
    typeBoxTime(window->rangePanel()->startBox(), 5, 0);
    typeBoxTime(window->rangePanel()->stopBox(), 6, 0);
    kt::click(window->removeRangeButton());

    bool ended = false;
    QObject::connect(window.get(), &BatchCutterWindowController::runEnded, [&] { ended = true; });
    ModalCloser closer;
    kt::click(window->startButton());
    ASSERT_TRUE(window->running());
    // The engine is writing its temporary into the folder.
    ASSERT_TRUE(kt::waitUntil([&] { return !everyEntry(outputFolder).isEmpty() || ended; }));
    ASSERT_FALSE(ended);
    const QString moved = QString::fromStdString(dir.file("moved"));
    ASSERT_TRUE(QDir().rename(outputFolder, moved));
    kt::click(window->startButton());
    ASSERT_TRUE(kt::waitUntil([&] { return ended; }));
    QTest::qWait(200);
    EXPECT_EQ(closer.closed(), 0) << window->lastAlertText().toStdString();
    EXPECT_FALSE(window->running());
    EXPECT_TRUE(everyEntry(moved).isEmpty()) << everyEntry(moved).join(", ").toStdString();
}

}  // namespace

namespace {

// The empty window as a new user sees it: the logo over the preview, the title with the
// version, the support address that starts a mail; files added through the panel come into view
// at the bottom of the list, and WebM files are offered.
TEST_F(BatchWindowTest, TheEmptyWindowLogoMailVersionAndNewRowsInView) {
    EXPECT_TRUE(window->logoView()->isVisible());
    EXPECT_TRUE(window->titleLabel()->text().contains(services::Language::getCurrentVersion()))
        << window->titleLabel()->text().toStdString();
    EXPECT_TRUE(window->titleLabel()->text().contains(services::localized("Video/Audio Batch Cutter")));

    MailCatcher mail;
    QDesktopServices::setUrlHandler("mailto", &mail, "open");
    kt::click(window->supportMailLink()->iconView());
    ASSERT_TRUE(kt::waitUntil([&] { return !mail.urls.isEmpty(); }, 5000));
    QDesktopServices::unsetUrlHandler("mailto");
    EXPECT_EQ(mail.urls.first().toString(QUrl::FullyEncoded),
              "mailto:help@example.org?Subject=%20&body=%20");

    const std::string clip = dir.file("clip.mp4");
    kt::makeMedia(clip, kt::FixtureSpec{.duration_s = 1});
    QStringList offered;
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest& request) {
        offered = request.allowedFileTypes;
        return QStringList(8, QString::fromStdString(clip));
    });
    kt::click(window->addFileButton());
    EXPECT_TRUE(offered.contains("webm"));
    ASSERT_EQ(window->fileList().size(), 8);
    ASSERT_TRUE(kt::waitUntil([&] { return window->rangePanel()->hasFile(); }));
    EXPECT_FALSE(window->logoView()->isVisible());
    QTest::qWait(50);
    auto* last = window->fileListTableView()->cell(7);
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(last->visibleRegion().isEmpty()) << "the last row added is out of view";
}

// A snapshot that cannot be written says so and makes no click; a written one clicks once.
TEST_F(BatchWindowTest, ASnapshotThatCannotBeWrittenSaysSoAndOnlyAWrittenOneClicks) {
    int plays = 0;
    window->setShutterSound(std::make_unique<CountingShutter>(&plays));
    const std::string video = dir.file("cif.mp4");
    kt::makeMedia(video, kt::FixtureSpec{.duration_s = 1});
    panelAnswer = {QString::fromStdString(video)};
    kt::click(window->addFileButton());
    ASSERT_TRUE(kt::waitUntil([&] { return window->rangePanel()->hasFile(); }));
    QTest::qWait(200);

    const QString plainFile = QString::fromStdString(dir.file("not-a-folder"));
    kt::writeBytes(plainFile.toStdString(), "taken");
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([&](const QString&) { return plainFile; });
    window->outputFolderPopup()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    {
        ModalCloser closer;
        kt::click(window->rangePanel()->snapshotButton());
        EXPECT_EQ(closer.closed(), 1);
    }
    EXPECT_TRUE(window->lastSnapshotPath().isEmpty());
    EXPECT_TRUE(window->lastAlertText().startsWith(services::localized("SnapshotFailedMessage")))
        << window->lastAlertText().toStdString();
    EXPECT_EQ(plays, 0);

    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([this](const QString&) { return outputFolder; });
    window->outputFolderPopup()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    kt::click(window->rangePanel()->snapshotButton());
    ASSERT_TRUE(QFile::exists(window->lastSnapshotPath()));
    EXPECT_EQ(plays, 1);
}

// While a run cuts the files, their rows stay locked: a press on another row neither moves the
// file's progress there nor reloads the preview.
TEST_F(BatchWindowTest, RowsStayLockedWhileARunCutsThem) {
    kt::FixtureSpec spec;
    spec.duration_s = 30;
    spec.width = 1280;
    spec.height = 720;
    const std::string a = dir.file("a.mp4"), b = dir.file("b.mp4");
    kt::makeMedia(a, spec);
    ASSERT_TRUE(QFile::copy(QString::fromStdString(a), QString::fromStdString(b)));
    panelAnswer = {QString::fromStdString(a), QString::fromStdString(b)};
    kt::click(window->addFileButton());
    for (int row : {0, 1}) {
        selectRow(row);
        typeBoxTime(window->rangePanel()->startBox(), 5, 0);
        typeBoxTime(window->rangePanel()->stopBox(), 6, 0);
        kt::click(window->removeRangeButton());
    }
    selectRow(0);
    bool ended = false;
    QObject::connect(window.get(), &BatchCutterWindowController::runEnded, [&] { ended = true; });
    ModalCloser closer;
    kt::click(window->startButton());
    auto* list = window->fileListTableView();
    ASSERT_TRUE(kt::waitUntil([&] { return (list->cell(0) && list->cell(0)->progress() > 0.02f) || ended; }));
    ASSERT_FALSE(ended);
    kt::clickAt(list->cell(1), QPoint(8, 8));
    QTest::qWait(400);
    EXPECT_FALSE(list->rowsEnabled());
    EXPECT_EQ(list->selectedRow(), 0);
    EXPECT_FALSE(list->cell(1)->progressVisible());
    EXPECT_TRUE(list->cell(0)->progressVisible());
    kt::click(window->startButton());  // Cancel
    ASSERT_TRUE(kt::waitUntil([&] { return ended; }));
    EXPECT_TRUE(list->rowsEnabled());
}

// A one-frame video is a video one frame long: listed, with no alert, not refused as damaged.
TEST_F(BatchWindowTest, AOneFrameVideoIsListedOneFrameLong) {
    kt::FixtureSpec spec;
    spec.audio_streams = 0;
    spec.extra_args = {"-frames:v", "1"};
    const std::string single = dir.file("one_frame.mp4");
    kt::makeMedia(single, spec);
    panelAnswer = {QString::fromStdString(single)};
    kt::click(window->addFileButton());
    ASSERT_EQ(window->fileList().size(), 1);
    EXPECT_TRUE(window->lastAlertText().isEmpty()) << window->lastAlertText().toStdString();
    EXPECT_NEAR(window->fileList().front()->sourceData.duration, 1.0 / 25, 0.005);
}

}  // namespace

#include "batch_cutter_window_test.moc"
