// The easy cutter driven through its own controls: clips added, selected, moved, pasted and
// deleted; the advertised keys; exports of three clips as separate files and merged, each output
// checked with ffprobe and ffmpeg; and the export dialog's re-encode box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QDirIterator>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "export/ui/export_session.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "export/ui/export_window_controller.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/packet_hashes.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tests/tools_cutter/cut_test_helpers.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/easy_clip_list.h"
#include "tools/cutter/easy_cut_export.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/cutter/time_box.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

using kestrel::tools::cutter::EasyCutterWindowcontroller;
using kestrel::test::TempDir;
using namespace kestrel::test::cutter;

namespace {

void click(kestrel::widgets::ZorButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }

void typeTime(kestrel::tools::cutter::TimeBox* box, int seconds, int millis) {
    for (int i = 0; i < 4; ++i) {
        QLineEdit* field = box->field(i);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, i == 3 ? QString::asprintf("%03d", millis) : QString::asprintf("%02d", i == 2 ? seconds : 0));
        QTest::keyClick(field, Qt::Key_Return);
    }
}

struct EasyWindowTest : ::testing::Test {
    TempDir dir;
    std::string source;
    std::unique_ptr<EasyCutterWindowcontroller> window;

    void open(const std::string& path) {
        window = std::make_unique<EasyCutterWindowcontroller>();
        window->setFilePath(QString::fromStdString(path));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void addClip(int fromS, int fromMs, int toS, int toMs) {
        typeTime(window->rangePanel()->stopBox(), toS, toMs);
        typeTime(window->rangePanel()->startBox(), fromS, fromMs);
        click(window->addClipButton());
    }
    void pressRow(int index) {
        QTest::mouseClick(window->clipList()->row(index), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::qWait(10);
    }
    void clickLater(kestrel::widgets::ZorButton* button) {
        click(button);
        QTest::qWait(30);  // the row buttons answer on the next turns of the event loop
    }
    // Exports through a dialog as the Export button would, into the folder.
    bool exportInto(const QString& folder, bool merge) {
        exportkit::ExportWindowController* dialog = window->prepareExportDialog();
        dialog->setOutputPath(folder);
        if (merge != dialog->mergeAllIntoOne->selected()) click(dialog->mergeAllIntoOne);
        bool ended = false;
        QObject::connect(window.get(), &EasyCutterWindowcontroller::exportEnded, [&] { ended = true; });
        click(dialog->startBtn);
        return waitFor([&] { return ended; });
    }
};

TEST_F(EasyWindowTest, ClipsAreAddedSelectedMovedPastedAndDeleted) {
    source = dir.file("clip.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 8;
    kestrel::test::makeMedia(source, spec);
    open(source);
    EXPECT_FALSE(window->exportButton()->isEnabled());
    addClip(1, 0, 2, 0);
    addClip(3, 0, 5, 500);
    addClip(6, 0, 7, 0);
    ASSERT_EQ(window->clips().size(), 3);
    EXPECT_TRUE(window->exportButton()->isEnabled());
    EXPECT_FLOAT_EQ(window->clips()[1].end, 5.5f);
    EXPECT_FALSE(window->clips()[0].thumb.isNull());
    EXPECT_EQ(window->selectedClip(), -1);

    // An empty range cannot be set: a start typed onto the end is refused with its message and
    // the range stays as it was.
    {
        ModalCloser closer;
        typeTime(window->rangePanel()->startBox(), 7, 0);
        EXPECT_GE(closer.closed(), 1);
        EXPECT_EQ(window->lastAlertText(), services::localized("showmessageTime1"));
        EXPECT_EQ(window->rangePanel()->startUs(), 6'000'000);
        EXPECT_EQ(window->rangePanel()->stopUs(), 7'000'000);
        typeTime(window->rangePanel()->startBox(), 6, 0);
    }

    // Selecting a clip brings its range to the cut bar; editing the range changes that clip.
    pressRow(1);
    ASSERT_EQ(window->selectedClip(), 1);
    EXPECT_EQ(window->rangePanel()->startUs(), 3'000'000);
    typeTime(window->rangePanel()->startBox(), 2, 500);
    EXPECT_FLOAT_EQ(window->clips()[1].start, 2.5f);
    EXPECT_FALSE(window->clipList()->row(1)->deleteButton()->isHidden());
    EXPECT_TRUE(window->clipList()->row(0)->deleteButton()->isHidden());

    clickLater(window->clipList()->row(1)->moveDownButton());
    EXPECT_EQ(window->selectedClip(), 2);
    EXPECT_FLOAT_EQ(window->clips()[2].start, 2.5f);
    EXPECT_FALSE(window->clipList()->row(2)->moveDownButton()->isEnabled());
    clickLater(window->clipList()->row(2)->pasteButton());
    ASSERT_EQ(window->clips().size(), 4);
    EXPECT_EQ(window->clips()[3].start, window->clips()[2].start);
    EXPECT_EQ(window->selectedClip(), 2);
    // Deleting a clip before the selected one keeps the selection on its clip.
    pressRow(0);
    pressRow(0);  // a second press deselects
    EXPECT_EQ(window->selectedClip(), -1);
    pressRow(3);
    clickLater(window->clipList()->row(3)->deleteButton());
    EXPECT_EQ(window->clips().size(), 3);
    EXPECT_EQ(window->selectedClip(), -1);
    pressRow(2);
    ASSERT_EQ(window->selectedClip(), 2);
    clickLater(window->clipList()->row(2)->deleteButton());
    EXPECT_EQ(window->selectedClip(), -1);
    ASSERT_EQ(window->clips().size(), 2);
    for (int i = 0; i < 2; ++i) {
        pressRow(0);
        clickLater(window->clipList()->row(0)->deleteButton());
    }
    EXPECT_TRUE(window->clips().isEmpty());
    EXPECT_FALSE(window->exportButton()->isEnabled());
}

// The keys the hint names: Space plays and pauses, the arrows step a tenth of a second, I and O
// set the start and the end where the preview stands; an end set within 2 % of the file after
// the start takes the start back to 0, a start set within 2 % before the end takes the end to
// the end of the file.
TEST_F(EasyWindowTest, KeysStepATenthAndSetTheEndsTwoPercentApart) {
    source = dir.file("keys.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 10;
    kestrel::test::makeMedia(source, spec);
    open(source);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(window->stepHintLabel()->text().contains(services::localized("controlmarksLabelstringValue")));
    EXPECT_TRUE(services::localized("controlmarksLabelstringValue").contains("0.1"));
    auto* panel = window->rangePanel();
    typeTime(panel->stopBox(), 5, 0);  // the end at 5 s, the preview there too
    ASSERT_EQ(panel->stopUs(), 5'000'000);
    ASSERT_NEAR(double(panel->positionUs()) / 1e6, 5.0, 0.045);
    window->setFocus();
    kestrel::test::pressKey(window.get(), Qt::Key_Left);
    EXPECT_NEAR(double(panel->positionUs()) / 1e6, 4.9, 0.045);
    const int64_t at = panel->positionUs();
    kestrel::test::pressKey(window.get(), Qt::Key_I);  // 0.1 s before the end: within 2 % of 10 s
    EXPECT_EQ(panel->startUs(), at);
    EXPECT_EQ(panel->stopUs(), panel->durationUs());
    kestrel::test::pressKey(window.get(), Qt::Key_Right);
    EXPECT_NEAR(double(panel->positionUs() - at) / 1e6, 0.1, 0.045);
    const int64_t later = panel->positionUs();
    kestrel::test::pressKey(window.get(), Qt::Key_O);  // 0.1 s after the start: within 2 %
    EXPECT_EQ(panel->startUs(), 0);
    EXPECT_EQ(panel->stopUs(), later);
    kestrel::test::pressKey(window.get(), Qt::Key_Space);
    EXPECT_TRUE(panel->isPlaying());
    kestrel::test::pressKey(window.get(), Qt::Key_Right);  // a step while playing plays on
    EXPECT_TRUE(panel->isPlaying());
    kestrel::test::pressKey(window.get(), Qt::Key_Space);
    EXPECT_FALSE(panel->isPlaying());
}

TEST_F(EasyWindowTest, ThreeClipsExportSeparatelyAndMerged) {
    source = dir.file("holiday.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 10;
    spec.gop = 50;
    kestrel::test::makeMedia(source, spec);
    open(source);
    addClip(0, 500, 2, 0);    // 1.5 s
    addClip(3, 300, 5, 300);  // 2.0 s
    addClip(7, 0, 9, 880);    // 2.88 s
    ASSERT_EQ(window->clips().size(), 3);

    const QString out = QString::fromStdString(dir.file("out"));
    ASSERT_TRUE(exportInto(out, false));
    const QStringList folders = QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(folders.size(), 1);
    EXPECT_TRUE(folders.first().startsWith("holiday_"));
    const QDir clipsDir(out + "/" + folders.first());
    const QStringList names = clipsDir.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(names, (QStringList{"000000.500-000002.000.mp4", "000003.300-000005.300.mp4", "000007.000-000009.880.mp4"}));
    const double lengths[] = {1.5, 2.0, 2.88};
    const double starts[] = {0.5, 3.3, 7.0};
    for (int i = 0; i < 3; ++i) {
        const std::string file = clipsDir.filePath(names[i]).toStdString();
        const auto probed = kestrel::test::ffprobe(file, true);
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_NEAR(probed.firstOf("video")->frames / 25.0, lengths[i], kFrame_s + 1e-6) << file;
        EXPECT_EQ(decodeErrors(file), "") << file;
        const auto first = kestrel::test::decodeFrameRGB(file, 0, 160, 120);
        const auto want = kestrel::test::decodeFrameRGB(source, starts[i], 160, 120);
        EXPECT_LT(kestrel::test::meanAbsDiff(first, want), 6.0) << file;
    }

    ASSERT_TRUE(exportInto(out, true));
    const QStringList merged = QDir(out).entryList({"holiday_*.mp4"}, QDir::Files);
    ASSERT_EQ(merged.size(), 1);
    const std::string mergedFile = (out + "/" + merged.first()).toStdString();
    const auto probed = kestrel::test::ffprobe(mergedFile, true);
    EXPECT_NEAR(probed.firstOf("video")->frames / 25.0, 1.5 + 2.0 + 2.88, 3 * kFrame_s);
    EXPECT_EQ(decodeErrors(mergedFile), "");
    const auto first = kestrel::test::decodeFrameRGB(mergedFile, 0, 160, 120);
    EXPECT_LT(kestrel::test::meanAbsDiff(first, kestrel::test::decodeFrameRGB(source, 0.5, 160, 120)), 6.0);

    // The same export again never overwrites the merged file.
    ASSERT_TRUE(exportInto(out, true));
    EXPECT_EQ(QDir(out).entryList({"holiday_*.mp4"}, QDir::Files).size(), 2);
}

TEST_F(EasyWindowTest, ClosingDuringAnExportStopsItAndLeavesNoFile) {
    source = dir.file("long.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 30;
    spec.width = 1280;
    spec.height = 720;
    spec.gop = 300;
    kestrel::test::makeMedia(source, spec);
    open(source);
    addClip(1, 0, 28, 500);
    exportkit::ExportWindowController* dialog = window->prepareExportDialog();
    const QString out = QString::fromStdString(dir.file("out"));
    dialog->setOutputPath(out);
    bool ended = false;
    QObject::connect(window.get(), &EasyCutterWindowcontroller::exportEnded, [&] { ended = true; });
    click(dialog->startBtn);
    ASSERT_TRUE(window->exporting());
    QTest::qWait(300);
    window->close();
    ASSERT_TRUE(waitFor([&] { return ended; }));
    QStringList files;
    for (const QFileInfo& entry : QDir(out).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        files += entry.isDir() ? QDir(entry.filePath()).entryList(QDir::Files) : QStringList{entry.fileName()};
    EXPECT_TRUE(files.isEmpty()) << files.join(", ").toStdString();
}

TEST_F(EasyWindowTest, AFileThatCannotBeUsedHidesTheEditingControlsWithTheReason) {
    source = dir.file("broken.mp4");
    kestrel::test::writeBytes(source, "not a movie");
    open(source);
    EXPECT_FALSE(window->rangePanel()->isVisible());
    EXPECT_TRUE(window->sourceLabel()->text().startsWith("broken.mp4: "));
}

// The export dialog's re-encode box, through the window's Export button: a clip that starts on a
// key frame keeps the source's packets when the box is clear and none of them when it is ticked,
// written as a file of its own or merged.
TEST_F(EasyWindowTest, TheReEncodeBoxDecidesWhetherSourcePacketsAreCopied) {
    source = dir.file("keys.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 4;
    spec.gop = 25;  // a key frame every second
    kestrel::test::makeMedia(source, spec);
    const QSet<QString> sourcePackets = kestrel::test::videoPacketHashes(source);
    ASSERT_FALSE(sourcePackets.isEmpty());
    QStringList alerts;
    exportkit::ExportSession::setFailureAlert([&](QWidget*, const QString& text) { alerts << text; });
    struct AlertsBack {
        ~AlertsBack() { exportkit::ExportSession::setFailureAlert(nullptr); }
    } alertsBack;

    const struct {
        bool merge;
        bool reencode;
        bool sharesPackets;
    } cases[] = {{false, false, true}, {false, true, false}, {true, false, true}, {true, true, false}};
    for (const auto& c : cases) {
        const std::string name = std::string(c.merge ? "merged" : "separate") + (c.reencode ? "-reencoded" : "-kept");
        SCOPED_TRACE(name);
        const QString out = QString::fromStdString(dir.file(name));
        open(source);
        addClip(1, 0, 2, 600);  // from the second key frame
        ASSERT_EQ(window->clips().size(), 1);

        bool ended = false;
        QObject::connect(window.get(), &EasyCutterWindowcontroller::exportEnded, [&] { ended = true; });
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<exportkit::ExportWindowController*>();
            if (!dialog) return;
            answered = true;
            dialog->setOutputPath(out);
            if (c.merge != dialog->mergeAllIntoOne->selected()) click(dialog->mergeAllIntoOne);
            if (c.reencode) click(dialog->reEncodingBtn);
            EXPECT_EQ(dialog->reEncoding(), c.reencode);
            click(dialog->startBtn);
            EXPECT_TRUE(waitFor([&] { return ended; }));
            dialog->closeWindowAction();
        });
        click(window->exportButton());
        ASSERT_TRUE(answered);
        ASSERT_TRUE(ended);
        EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();

        QStringList written;
        for (QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) written << it.next();
        ASSERT_EQ(written.size(), 1) << written.join(", ").toStdString();
        EXPECT_EQ(QFileInfo(written.first()).dir() == QDir(out), c.merge) << written.first().toStdString();
        const std::string file = written.first().toStdString();
        const auto probed = kestrel::test::ffprobe(file, true);
        ASSERT_TRUE(probed.ok) << probed.error;
        ASSERT_NE(probed.firstOf("video"), nullptr);
        EXPECT_EQ(probed.firstOf("video")->codec, "h264");
        EXPECT_NEAR(probed.firstOf("video")->frames / 25.0, 1.6, kFrame_s + 1e-6);
        EXPECT_EQ(decodeErrors(file), "");
        EXPECT_EQ(kestrel::test::videoPacketHashes(file).intersects(sourcePackets), c.sharesPackets);
    }
}

// A source gone before the export: the first clip fails as its job starts. The export ends
// once, with one alert that names the file and the reason, and leaves no empty folder.
TEST_F(EasyWindowTest, ASourceGoneEndsTheExportOnceWithTheReasonAndNoFolder) {
    source = dir.file("clip.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 8;
    kestrel::test::makeMedia(source, spec);
    open(source);
    addClip(1, 0, 2, 0);
    addClip(3, 0, 4, 0);
    addClip(5, 0, 6, 0);
    ASSERT_EQ(window->clips().size(), 3);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(source)));

    QStringList alerts;
    exportkit::ExportSession::setFailureAlert([&](QWidget*, const QString& text) { alerts << text; });
    struct AlertsBack {
        ~AlertsBack() { exportkit::ExportSession::setFailureAlert(nullptr); }
    } alertsBack;
    int endings = 0;
    QObject::connect(window.get(), &EasyCutterWindowcontroller::exportEnded, [&] { ++endings; });
    const QString out = QString::fromStdString(dir.file("out"));
    exportkit::ExportWindowController* dialog = window->prepareExportDialog();
    dialog->setOutputPath(out);
    click(dialog->startBtn);
    ASSERT_TRUE(waitFor([&] { return endings > 0; }));
    QTest::qWait(200);
    EXPECT_EQ(endings, 1);
    EXPECT_FALSE(window->exporting());
    ASSERT_EQ(alerts.size(), 1) << alerts.join(" | ").toStdString();
    EXPECT_EQ(alerts.first(), "clip.mp4: " + services::localized("FailureSourceMissing"));
    EXPECT_TRUE(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(", ").toStdString();
}

// Answers the next two-button alert with its OK (left) or Cancel (right) button, as a person
// clicks it; the flag turns true once it was answered.
std::shared_ptr<bool> answerNextAlert(bool ok) {
    auto answered = std::make_shared<bool>(false);
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answered, ok] {
        auto* alert = qobject_cast<kestrel::widgets::AlertWindowController*>(QApplication::activeModalWidget());
        if (!alert || !alert->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        *answered = true;
        kestrel::test::click(ok ? alert->leftBtn() : alert->rightBtn());
    });
    poll->start(20);
    return answered;
}

// The clips always belong to the file shown. A file that cannot be used is named with its reason
// and changes nothing (the export still reads the shown file); a usable file over clips asks
// first, and only OK drops them.
TEST_F(EasyWindowTest, TheClipsStayWithTheirFileAndAnotherFileAsksFirst) {
    source = dir.file("good.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 6;
    spec.gop = 25;
    kestrel::test::makeMedia(source, spec);
    const std::string broken = dir.file("broken.mov"), other = dir.file("other.mp4");
    kestrel::test::writeBytes(broken, std::string(4096, '\x42'));
    kestrel::test::makeMedia(other, kestrel::test::FixtureSpec{.duration_s = 2});
    open(source);
    addClip(1, 0, 3, 0);
    ASSERT_EQ(window->clips().size(), 1);

    QStringList offered;
    QString answer = QString::fromStdString(broken);
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest& request) {
        offered = request.allowedFileTypes;
        return QStringList{answer};
    });
    struct PanelBack {
        ~PanelBack() { kestrel::widgets::setOpenPanelRunner({}); }
    } panelBack;
    {
        ModalCloser closer;
        kestrel::test::click(window->addFileButton());
        EXPECT_EQ(closer.closed(), 1);
    }
    EXPECT_TRUE(offered.contains("webm"));
    EXPECT_TRUE(window->lastAlertText().contains("broken.mov: ")) << window->lastAlertText().toStdString();
    EXPECT_EQ(window->clips().size(), 1);
    EXPECT_EQ(window->fileData()->path.toStdString(), source);
    EXPECT_TRUE(window->exportButton()->isEnabled());
    EXPECT_TRUE(window->rangePanel()->isVisible());

    // The export reads the file shown: its 1-3 s, frame for frame.
    const QString out = QString::fromStdString(dir.file("out"));
    exportkit::ExportWindowController* dialog = window->prepareExportDialog();
    EXPECT_EQ(dialog->inputFileName(), "good.mp4");
    ASSERT_TRUE(exportInto(out, false));
    QStringList written;
    for (QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) written << it.next();
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(kestrel::test::decodesCleanly(written.first().toStdString()));
    EXPECT_TRUE(kestrel::test::framesMatch(written.first().toStdString(), kestrel::test::framesOf(source, 25, 75)));

    // Another usable file: Cancel keeps everything, OK drops the clips for the new file.
    answer = QString::fromStdString(other);
    auto cancelled = answerNextAlert(false);
    kestrel::test::click(window->addFileButton());
    EXPECT_TRUE(*cancelled);
    EXPECT_EQ(window->clips().size(), 1);
    EXPECT_EQ(window->fileData()->path.toStdString(), source);
    auto confirmed = answerNextAlert(true);
    kestrel::test::click(window->addFileButton());
    EXPECT_TRUE(*confirmed);
    EXPECT_TRUE(window->clips().isEmpty());
    EXPECT_EQ(window->fileData()->path.toStdString(), other);
    EXPECT_FALSE(window->exportButton()->isEnabled());
}

// A typed time applies while it is typed when the range stays valid; one committed out of order
// or past the file is refused with its message and changes nothing.
TEST_F(EasyWindowTest, TypedTimesApplyAsTypedAndAWrongOneIsRefusedWithItsMessage) {
    source = dir.file("ten.mp4");
    kestrel::test::makeMedia(source, kestrel::test::FixtureSpec{.duration_s = 10});
    open(source);
    kestrel::test::activate(window.get());
    auto* panel = window->rangePanel();
    QWidget* startSeconds = panel->startBox()->field(2);
    kestrel::test::clickAt(startSeconds, startSeconds->rect().center());
    QTest::keyClicks(startSeconds, "04");
    EXPECT_EQ(panel->startUs(), 4'000'000) << "applied while typing";
    EXPECT_NEAR(panel->cutBar()->lowerValue(), 0.4, 0.001);
    EXPECT_NEAR(double(panel->positionUs()) / 1e6, 4.0, 0.045);
    QTest::keyClick(startSeconds, Qt::Key_Tab);

    const struct {
        bool startBox;
        const char* text;
        const char* key;
    } refused[] = {{true, "12", "showmessageTime1"}, {false, "11", "showmessageTime2"}, {false, "03", "showmessageTime3"}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.key);
        ModalCloser closer;
        QWidget* seconds = (c.startBox ? panel->startBox() : panel->stopBox())->field(2);
        kestrel::test::typeInto(seconds, c.text, kestrel::test::Commit::Return);
        EXPECT_EQ(closer.closed(), 1);
        EXPECT_EQ(window->lastAlertText(), services::localized(c.key));
        EXPECT_EQ(panel->startUs(), 4'000'000);
        EXPECT_EQ(panel->stopUs(), panel->durationUs());
        EXPECT_EQ(window->focusWidget(), seconds) << "the field stays in edit";
        kestrel::test::typeInto(seconds, c.startBox ? "04" : "10", kestrel::test::Commit::Return);
    }
    // A time still in its field is committed by Add Clip first: a refused one adds no clip.
    {
        ModalCloser closer;
        QWidget* seconds = panel->startBox()->field(2);
        kestrel::test::clickAt(seconds, seconds->rect().center());
        QTest::keyClicks(seconds, "99");
        kestrel::test::click(window->addClipButton());
        EXPECT_EQ(closer.closed(), 1);
        EXPECT_TRUE(window->clips().isEmpty());
    }
}

// The range plays over and over from its start until it is stopped.
TEST_F(EasyWindowTest, RangePlayRepeatsTheRange) {
    source = dir.file("loop.mp4");
    kestrel::test::makeMedia(source, kestrel::test::FixtureSpec{.duration_s = 6});
    open(source);
    auto* panel = window->rangePanel();
    typeTime(panel->stopBox(), 2, 0);
    typeTime(panel->startBox(), 1, 500);
    kestrel::test::click(panel->playRangeButton());
    ASSERT_TRUE(panel->isPlayingRange());
    int64_t highest = 0;
    bool cameBack = false;
    ASSERT_TRUE(kestrel::test::waitUntil(
        [&] {
            const int64_t at = panel->positionUs();
            if (highest >= 1'800'000 && at < 1'800'000) cameBack = true;
            highest = std::max(highest, at);
            return cameBack;
        },
        30000));
    EXPECT_TRUE(panel->isPlayingRange());
    EXPECT_GE(panel->positionUs(), 1'400'000);
    EXPECT_LE(highest, 2'300'000) << "played past the range";
    kestrel::test::click(panel->stopButton());
    EXPECT_FALSE(panel->isPlaying());
}

// Snapshots go to the output folder, a failure says so, and only a written picture clicks; a
// clip's picture clicks too. The title carries the version.
TEST_F(EasyWindowTest, SnapshotsGoToTheOutputFolderAndClickWhenWritten) {
    source = dir.file("pic.mp4");
    kestrel::test::makeMedia(source, kestrel::test::FixtureSpec{.duration_s = 3});
    int plays = 0;
    open(source);
    window->setShutterSound(std::make_unique<CountingShutter>(&plays));
    EXPECT_TRUE(window->titleLabel()->text().contains(services::Language::getCurrentVersion()));
    QTest::qWait(200);
    const QString folder = EasyCutterWindowcontroller::snapshotFolder();
    kestrel::test::click(window->rangePanel()->snapshotButton());
    ASSERT_FALSE(window->lastSnapshotPath().isEmpty());
    EXPECT_EQ(QFileInfo(window->lastSnapshotPath()).absolutePath(), QFileInfo(folder).absoluteFilePath());
    EXPECT_FALSE(QImage(window->lastSnapshotPath()).isNull());
    EXPECT_EQ(plays, 1);

    // The output folder's place taken by a plain file: nothing can be written there.
    const QString plain = QString::fromStdString(dir.file("plain"));
    kestrel::test::writeBytes(plain.toStdString(), "x");
    platform::UserDefaults::standard().setString("kOutputDir", plain);
    {
        ModalCloser closer;
        kestrel::test::click(window->rangePanel()->snapshotButton());
        EXPECT_EQ(closer.closed(), 1);
    }
    platform::UserDefaults::standard().removeObjectForKey("kOutputDir");
    EXPECT_TRUE(window->lastSnapshotPath().isEmpty());
    EXPECT_TRUE(window->lastAlertText().startsWith(services::localized("SnapshotFailedMessage")));
    EXPECT_EQ(plays, 1);

    addClip(0, 500, 1, 500);
    EXPECT_EQ(plays, 2) << "a clip's picture clicks like a snapshot";
}

// Muting the preview silences the merged export too (the sound is the preview's); a stopped
// export says it was stopped.
TEST_F(EasyWindowTest, MuteSilencesTheMergedFileAndAStoppedExportSaysSo) {
    source = dir.file("tone.mp4");
    kestrel::test::makeMedia(source, kestrel::test::FixtureSpec{.duration_s = 4});
    open(source);
    addClip(0, 500, 1, 500);
    addClip(2, 0, 3, 0);
    kestrel::test::click(window->rangePanel()->muteButton());
    EXPECT_EQ(window->rangePanel()->effectiveVolume(), 0.0);
    const QString out = QString::fromStdString(dir.file("muted"));
    ASSERT_TRUE(exportInto(out, true));
    const QStringList merged = QDir(out).entryList({"tone_*.mp4"}, QDir::Files);
    ASSERT_EQ(merged.size(), 1);
    const std::string mergedFile = (out + "/" + merged.first()).toStdString();
    EXPECT_TRUE(kestrel::test::decodesCleanly(mergedFile));
    EXPECT_TRUE(kestrel::test::silenceThroughout(kestrel::test::soundLevels(mergedFile), 0.0, 2.0));

    // Unmuted, a long export stopped through the dialog.
    kestrel::test::click(window->rangePanel()->muteButton());
    const std::string longSource = dir.file("long.mp4");
    kestrel::test::FixtureSpec longSpec;
    longSpec.duration_s = 30;
    longSpec.width = 1280;
    longSpec.height = 720;
    kestrel::test::makeMedia(longSource, longSpec);
    open(longSource);
    addClip(1, 0, 28, 0);
    exportkit::ExportWindowController* dialog = window->prepareExportDialog();
    dialog->setOutputPath(QString::fromStdString(dir.file("stopped")));
    dialog->setStopConfirmer([](const QString&) { return true; });
    bool ended = false;
    QObject::connect(window.get(), &EasyCutterWindowcontroller::exportEnded, [&] { ended = true; });
    click(dialog->startBtn);
    ASSERT_TRUE(window->exporting());
    QTest::qWait(300);
    click(dialog->startBtn);  // Stop
    ASSERT_TRUE(waitFor([&] { return ended; }));
    EXPECT_EQ(dialog->succeededLabel->text(), services::localized("Cancel to abort the file converting!"));
    EXPECT_TRUE(QDir(QString::fromStdString(dir.file("stopped"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(EasyCutNames, FolderAndClipNames) {
    kestrel::model::CutterTimeItem clip;
    clip.start = 75.5f;
    clip.end = 120.0f;
    EXPECT_EQ(kestrel::tools::cutter::clipFileBaseName(clip), "000115.500-000200.000");
    EXPECT_EQ(kestrel::tools::cutter::separateFilesFolder("/m/holiday.mp4", "/out/20240102101530.mp4"),
              "/out/holiday_20240102101530");
}

}  // namespace

namespace {

// The range bar lies between the preview and the time boxes, however often the window is resized.
TEST_F(EasyWindowTest, TheRangeBarStaysUnderThePreviewAcrossResizes) {
    source = dir.file("bar.mp4");
    kestrel::test::makeMedia(source, kestrel::test::FixtureSpec{.duration_s = 1.0});
    open(source);
    auto* panel = window->rangePanel();
    for (const QSize size : {QSize(1180, 720), QSize(1300, 800), QSize(1180, 720)}) {
        window->resize(size);
        QTest::qWait(20);  // the panel lays the bar out again on the next turn of the loop
        const QRect preview(panel->playerArea()->mapTo(panel, QPoint(0, 0)), panel->playerArea()->size());
        const QRect bar(panel->cutBar()->mapTo(panel, QPoint(0, 0)), panel->cutBar()->size());
        const QRect start(panel->startBox()->mapTo(panel, QPoint(0, 0)), panel->startBox()->size());
        EXPECT_GE(bar.top(), preview.bottom()) << size.width() << "x" << size.height();
        EXPECT_LE(bar.bottom(), start.top()) << size.width() << "x" << size.height();
    }
}

}  // namespace
