// The easy cutter driven through its own controls: clips added, selected, moved, pasted and
// deleted; the advertised keys; exports of three clips as separate files and merged, each output
// checked with ffprobe and ffmpeg; and the export dialog's re-encode box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "export/ui/export_session.h"
#include "services/language.h"
#include "export/ui/export_window_controller.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/packet_hashes.h"
#include "tests/support/temp_dir.h"
#include "tests/tools_cutter/cut_test_helpers.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/easy_clip_list.h"
#include "tools/cutter/easy_cut_export.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/cutter/time_box.h"
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

    // An empty range cannot be set: the end stays at least a millisecond after the start.
    typeTime(window->rangePanel()->startBox(), 7, 0);
    typeTime(window->rangePanel()->stopBox(), 7, 0);
    EXPECT_GT(window->rangePanel()->stopUs(), window->rangePanel()->startUs());

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

TEST_F(EasyWindowTest, TheAdvertisedKeysAreBound) {
    source = dir.file("keys.mp4");
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 12;
    kestrel::test::makeMedia(source, spec);
    open(source);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* panel = window->rangePanel();
    window->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Right);
    QTest::keyClick(window.get(), Qt::Key_Right);
    EXPECT_NEAR(double(panel->positionUs()) / 1e6, 10.0, 0.1);
    QTest::keyClick(window.get(), Qt::Key_O);
    EXPECT_NEAR(double(panel->stopUs()) / 1e6, 10.0, 0.1);
    QTest::keyClick(window.get(), Qt::Key_Left);
    QTest::keyClick(window.get(), Qt::Key_I);
    EXPECT_NEAR(double(panel->startUs()) / 1e6, 5.0, 0.1);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_TRUE(panel->isPlaying());
    QTest::keyClick(window.get(), Qt::Key_Space);
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
