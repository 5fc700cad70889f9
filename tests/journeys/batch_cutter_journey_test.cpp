// The batch cutter as a new user uses it: three generated files added through Add File, the
// first one's range marked by dragging the cut bar's handles, the second one's typed, the third
// moved up the list and set to remove its typed range, the output folder picked from the
// pop-up, Start pressed and the end alert closed. Each output must show exactly the source
// frames its range keeps (or, in remove mode, those around it) with sound throughout.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <cmath>

#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/journeys/journey_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/cut_range_panel.h"
#include "tools/cutter/time_box.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/output_folder_popup.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::tools::cutter::BatchCutterWindowController;

namespace {

constexpr int kFps = 25;
constexpr double kLength_s = 6;

// Every alert is closed once it shows and its text kept.
class AlertCloser {
public:
    AlertCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) texts << box->text() + " " + box->informativeText();
            else texts << modal->metaObject()->className();
            modal->close();
        });
        timer_.start(50);
    }
    QStringList texts;

private:
    QTimer timer_;
};

void typeTime(kestrel::tools::cutter::TimeBox* box, int seconds, int millis) {
    const QString texts[4] = {"00", "00", QString::asprintf("%02d", seconds), QString::asprintf("%03d", millis)};
    for (int i = 0; i < 4; ++i) kt::typeInto(box->field(i), texts[i], kt::Commit::Tab);
}

void dragHandle(kestrel::widgets::RDCutProgressView* bar, kt::TrimPart part, double share) {
    const QPoint from = kt::trimGrip(bar, part);
    const QRect track = kt::drawnTrack(bar);
    kt::drag(bar, from, QPoint(track.left() + int(std::lround(share * track.width())), from.y()), 10);
}

}  // namespace

TEST(BatchCutterJourney, RangesDraggedTypedAndRemovedCutFrameForFrame) {
    auto& defaults = platform::UserDefaults::standard();
    for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    services::Language::setLanguage();
    kt::TempDir dir;
    QStringList sources;
    const char* pictures[] = {"testsrc2", "testsrc", "testsrc2"};
    const char* names[] = {"first.mp4", "second.mov", "third.mp4"};
    for (int i = 0; i < 3; ++i) {
        kt::FixtureSpec spec;
        spec.duration_s = kLength_s;
        spec.gop = kFps;
        spec.video_source = pictures[i];
        kt::makeMedia(dir.file(names[i]), spec);
        sources << QString::fromStdString(dir.file(names[i]));
    }
    const QString out = QString::fromStdString(dir.file("out"));
    QDir().mkpath(out);

    AlertCloser alerts;
    BatchCutterWindowController window;
    struct Closer {
        BatchCutterWindowController& w;
        ~Closer() { kt::closeWindow(&w); }
    } closeAtEnd{window};
    window.show();
    kt::activate(&window);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([&](const QString&) { return out; });
    window.outputFolderPopup()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});
    ASSERT_EQ(window.outputPath(), out);

    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return sources; });
    kt::click(window.addFileButton());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_TRUE(kt::waitUntil([&] { return window.fileList().size() == 3; }, 30000)) << alerts.texts.join("; ").toStdString();
    auto* panel = window.rangePanel();
    auto* list = window.fileListTableView();
    const auto selectRow = [&](int row) {
        kestrel::tools::shared::ClipListCell* cell = list->cell(row);
        kt::clickAt(cell, QPoint(cell->width() / 2, cell->height() / 2));
        return kt::waitUntil([&] { return list->selectedRow() == row && panel->hasFile(); }, 10000);
    };

    // The first file: its handles dragged to about 1.5 s and 4.5 s.
    ASSERT_TRUE(selectRow(0));
    dragHandle(panel->cutBar(), kt::TrimPart::End, 0.75);
    dragHandle(panel->cutBar(), kt::TrimPart::Start, 0.25);
    EXPECT_NEAR(window.fileList()[0]->cutTimeRange_start / 1e6, 1.5, 0.2);
    EXPECT_NEAR(window.fileList()[0]->cutTimeRange_stop / 1e6, 4.5, 0.2);
    // The second file: 0.6 s to 2.2 s typed.
    ASSERT_TRUE(selectRow(1));
    typeTime(panel->startBox(), 0, 600);
    typeTime(panel->stopBox(), 2, 200);
    EXPECT_EQ(window.fileList()[1]->cutTimeRange_start, 600000);
    EXPECT_EQ(window.fileList()[1]->cutTimeRange_stop, 2200000);
    // The third file moved up one row, then 2 s to 4.4 s removed.
    ASSERT_TRUE(selectRow(2));
    kt::click(window.upButton());
    ASSERT_TRUE(kt::waitUntil([&] { return window.fileList()[1]->path == sources[2]; }, 5000));
    ASSERT_TRUE(selectRow(1));
    typeTime(panel->startBox(), 2, 0);
    typeTime(panel->stopBox(), 4, 400);
    kt::click(window.removeRangeButton());
    ASSERT_TRUE(window.fileList()[1]->isTrimFanxuan);
    EXPECT_FALSE(window.fileList()[2]->isTrimFanxuan);

    bool ended = false;
    QObject::connect(&window, &BatchCutterWindowController::runEnded, [&] { ended = true; });
    kt::click(window.startButton());
    ASSERT_TRUE(kt::waitUntil([&] { return ended; }, 300000));
    ASSERT_EQ(alerts.texts.size(), 1) << alerts.texts.join("; ").toStdString();

    struct Expected {
        int source;
        std::vector<kt::journey::ClipTimes> kept;
    };
    std::vector<Expected> expected;
    for (const auto& record : window.fileList()) {
        const int source = int(sources.indexOf(record->path));
        const double start = record->cutTimeRange_start / 1e6, stop = record->cutTimeRange_stop / 1e6;
        if (record->isTrimFanxuan) expected.push_back({source, {{0, start}, {stop, kLength_s}}});
        else expected.push_back({source, {{start, stop}}});
    }
    for (const Expected& e : expected) {
        const std::string file = (out + "/" + QString::fromLatin1(names[e.source])).toStdString();
        SCOPED_TRACE(file);
        ASSERT_TRUE(QFile::exists(QString::fromStdString(file)));
        EXPECT_TRUE(kt::decodesCleanly(file));
        EXPECT_TRUE(kt::journey::showsClipsInOrder(kt::mapFrames(file, sources[e.source].toStdString()), e.kept, kFps));
        double length = 0;
        for (const auto& k : e.kept) length += k.end_s - k.start_s;
        EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(file), 0.05, length - 0.05));
    }
}
