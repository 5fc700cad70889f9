// The easy cutter as a new user uses it: a generated file opened as the home screen opens it,
// three clips marked by dragging the cut bar's handles and by typing times, one clip moved up,
// Export pressed twice, once for a file per clip and once for one merged file, the folder picked
// in the export dialog. Every output frame must be the source frame its clip holds, in the
// clips' order, and the sound must run through every clip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <cmath>
#include <vector>

#include "export/ui/export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/journeys/journey_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/easy_clip_list.h"
#include "tools/cutter/easy_cut_export.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/cutter/time_box.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::tools::cutter::EasyCutterWindowcontroller;

namespace {

constexpr int kFps = 25;

// No alert is expected on the way: one that shows is closed and remembered, so the journey
// fails with its text instead of waiting on it.
class UnexpectedAlerts {
public:
    UnexpectedAlerts() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->inherits("exportkit::ExportDialogBase")) return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) texts << box->informativeText();
            else texts << modal->metaObject()->className();
            modal->close();
        });
        timer_.start(50);
    }
    QStringList texts;

private:
    QTimer timer_;
};

kt::journey::ClipTimes timesOf(const kestrel::model::CutterTimeItem& clip) {
    return {double(clip.start), double(clip.end)};
}

// A time typed field by field, each left with Tab.
void typeTime(kestrel::tools::cutter::TimeBox* box, int seconds, int millis) {
    const QString texts[4] = {"00", "00", QString::asprintf("%02d", seconds), QString::asprintf("%03d", millis)};
    for (int i = 0; i < 4; ++i) kt::typeInto(box->field(i), texts[i], kt::Commit::Tab);
}

// A handle dragged in several moves to a share of the drawn track.
void dragHandle(kestrel::widgets::RDCutProgressView* bar, kt::TrimPart part, double share) {
    const QPoint from = kt::trimGrip(bar, part);
    const QRect track = kt::drawnTrack(bar);
    kt::drag(bar, from, QPoint(track.left() + int(std::lround(share * track.width())), from.y()), 10);
}

}  // namespace

TEST(EasyCutterJourney, ClipsMarkedByHandAndByTypingExportFrameForFrame) {
    auto& defaults = platform::UserDefaults::standard();
    for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    services::Language::setLanguage();
    kt::TempDir dir;
    const std::string source = dir.file("walk.mp4");
    kt::FixtureSpec spec;
    spec.duration_s = 10;
    spec.gop = kFps;
    kt::makeMedia(source, spec);

    UnexpectedAlerts alerts;
    // Opened as the home screen opens it: the path handed over, then the window shown.
    EasyCutterWindowcontroller window;
    window.setFilePath(QString::fromStdString(source));
    window.show();
    kt::activate(&window);
    ASSERT_TRUE(kt::waitUntil([&] { return window.rangePanel()->hasFile(); }));
    auto* panel = window.rangePanel();
    auto* bar = panel->cutBar();

    // Clip 1: its end dragged to about 6 s, its start typed.
    dragHandle(bar, kt::TrimPart::End, 0.6);
    EXPECT_NEAR(double(panel->stopUs()) / 1e6, 6.0, 0.25);
    typeTime(panel->startBox(), 2, 0);
    kt::click(window.addClipButton());
    // Clip 2: both ends typed.
    typeTime(panel->startBox(), 0, 400);
    typeTime(panel->stopBox(), 1, 600);
    kt::click(window.addClipButton());
    // Clip 3: the end back to the file's end, then both ends dragged, to about 7.5 s and 9.5 s.
    kt::click(window.resetEndButton());
    dragHandle(bar, kt::TrimPart::End, 0.95);
    dragHandle(bar, kt::TrimPart::Start, 0.75);
    kt::click(window.addClipButton());
    ASSERT_EQ(window.clips().size(), 3);
    EXPECT_FLOAT_EQ(window.clips()[0].start, 2.0f);
    EXPECT_FLOAT_EQ(window.clips()[1].start, 0.4f);
    EXPECT_FLOAT_EQ(window.clips()[1].end, 1.6f);
    EXPECT_NEAR(window.clips()[2].start, 7.5, 0.25);
    EXPECT_NEAR(window.clips()[2].end, 9.5, 0.25);

    // The second clip moved up, to come first.
    kt::clickAt(window.clipList()->row(1), QPoint(4, 4));
    ASSERT_EQ(window.selectedClip(), 1);
    kt::click(window.clipList()->row(1)->moveUpButton());
    ASSERT_TRUE(kt::waitUntil([&] { return window.selectedClip() == 0; }, 5000));
    const QList<kestrel::model::CutterTimeItem> clips = window.clips();
    EXPECT_FLOAT_EQ(clips[0].start, 0.4f);

    // Export twice: a file per clip, then one merged file.
    const QString out = QString::fromStdString(dir.file("out"));
    QDir().mkpath(out);
    bool ended = false;
    QObject::connect(&window, &EasyCutterWindowcontroller::exportEnded, [&] { ended = true; });
    for (const bool merge : {false, true}) {
        ended = false;
        bool answered = false;
        // The dialog is answered once it is on screen (the click itself may run the event loop
        // before the dialog opens; the one of the first export may still await its deletion).
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<exportkit::ExportWindowController*>(QApplication::activeModalWidget());
            if (!dialog || answered) return;
            answered = true;
            poll.stop();
            dialog->setFolderChooser([&](const QString&) { return out; });
            kt::click(dialog->selectOutputDirBtn);
            EXPECT_TRUE(kt::waitUntil([&] { return dialog->outputPath() == out; }, 5000));
            if (merge != dialog->mergeAllIntoOne->selected()) kt::click(dialog->mergeAllIntoOne);
            kt::click(dialog->startBtn);
            EXPECT_TRUE(kt::waitUntil([&] { return ended; }));
            dialog->closeWindowAction();
        });
        poll.start(20);
        kt::click(window.exportButton());
        ASSERT_TRUE(answered);
        ASSERT_TRUE(ended);
    }

    // A file per clip, in a folder of its own, each named by its clip's times.
    const QStringList folders = QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(folders.size(), 1);
    const QDir clipsDir(out + "/" + folders.first());
    ASSERT_EQ(clipsDir.entryList(QDir::Files).size(), 3);
    for (const auto& clip : clips) {
        const std::string file =
            clipsDir.filePath(kestrel::tools::cutter::clipFileBaseName(clip) + ".mp4").toStdString();
        SCOPED_TRACE(file);
        EXPECT_TRUE(kt::decodesCleanly(file));
        EXPECT_TRUE(kt::journey::showsClipsInOrder(kt::mapFrames(file, source), {timesOf(clip)}, kFps));
        const double length = double(clip.end - clip.start);
        const kt::SoundLevels sound = kt::soundLevels(file);
        EXPECT_TRUE(kt::soundThroughout(sound, 0.05, length - 0.05));
    }

    // The merged file: the clips one after another, in the list's order.
    const QStringList merged = QDir(out).entryList({"walk_*.mp4"}, QDir::Files);
    ASSERT_EQ(merged.size(), 1);
    const std::string mergedFile = (out + "/" + merged.first()).toStdString();
    std::vector<kt::journey::ClipTimes> wanted;
    double length = 0;
    for (const auto& clip : clips) {
        wanted.push_back(timesOf(clip));
        length += double(clip.end - clip.start);
    }
    EXPECT_TRUE(kt::decodesCleanly(mergedFile));
    EXPECT_TRUE(kt::journey::showsClipsInOrder(kt::mapFrames(mergedFile, source), wanted, kFps));
    EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(mergedFile), 0.05, length - 0.05));
    EXPECT_TRUE(alerts.texts.isEmpty()) << alerts.texts.join(" | ").toStdString();
    kt::closeWindow(&window);
}
