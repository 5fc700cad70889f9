// The joiner as a new user uses it without a transition: three clips added through Add File,
// the first one's range marked by dragging the bar's handles, the second one's start and end
// typed, the third moved up to come second, the MP4 profile clicked, Start pressed. The joined
// file must show each clip's frames, in the list's order, and its sound must run throughout.
#include <gtest/gtest.h>

#include <QDir>
#include <QScrollArea>
#include <QStringList>
#include <cmath>

#include "export/ui/output_format_bar.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/journeys/journey_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/joiner/joinner_window_controller.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/output_folder_popup.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::tools::joiner::JoinnerWindowController;

namespace {

constexpr int kFps = 25;

// Three 3 s clips of one 16:9 size with pictures of their own, so each output frame can be told
// to come from one of them.
QStringList makeClips(const kt::TempDir& dir) {
    QStringList paths;
    const char* sources[] = {"testsrc2", "testsrc", "testsrc2"};
    for (int i = 0; i < 3; ++i) {
        kt::FixtureSpec spec;
        spec.duration_s = 3;
        spec.width = 384;
        spec.height = 216;
        spec.gop = kFps;
        spec.video_source = sources[i];
        if (i == 2) spec.extra_args = {"-vf", "negate"};
        const std::string path = dir.file("clip" + std::to_string(i) + ".mp4");
        kt::makeMedia(path, spec);
        paths << QString::fromStdString(path);
    }
    return paths;
}

void dragHandle(kestrel::widgets::RDCutProgressView* bar, kt::TrimPart part, double share) {
    const QPoint from = kt::trimGrip(bar, part);
    const QRect track = kt::drawnTrack(bar);
    kt::drag(bar, from, QPoint(track.left() + int(std::lround(share * track.width())), from.y()), 10);
}

}  // namespace

TEST(JoinerRangesJourney, RangesDraggedAndTypedAndAClipMovedJoinFrameForFrame) {
    auto& defaults = platform::UserDefaults::standard();
    for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    services::Language::setLanguage();
    kt::TempDir dir;
    const QStringList clips = makeClips(dir);
    const QString outFolder = QString::fromStdString(dir.file("out"));
    QDir().mkpath(outFolder);

    JoinnerWindowController window;
    struct Closer {
        JoinnerWindowController& w;
        ~Closer() { kt::closeWindow(&w); }
    } closeAtEnd{window};
    window.show();
    kt::activate(&window);
    QStringList alerts;
    window.setAlertPresenter([&](int, const QString& message) {
        alerts << message;
        return false;
    });
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([&](const QString&) { return outFolder; });
    window.outputFolderBtn()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});

    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return clips; });
    kt::click(window.addfileBtn());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_TRUE(kt::waitUntil([&] { return window.fileList().size() == 3; }, 30000)) << alerts.join("; ").toStdString();
    auto* list = window.fileListTableView();
    const auto selectRow = [&](int row) {
        kestrel::tools::shared::ClipListCell* cell = list->cell(row);
        kt::clickAt(cell, QPoint(cell->width() / 2, cell->height() / 2));
        return kt::waitUntil([&] { return list->selectedRow() == row; }, 10000);
    };

    // The first clip: its end dragged to about 2.4 s, then its start to about 0.6 s.
    ASSERT_TRUE(selectRow(0));
    dragHandle(window.cutProgressView(), kt::TrimPart::End, 0.8);
    dragHandle(window.cutProgressView(), kt::TrimPart::Start, 0.2);
    const auto first = window.fileList()[0];
    EXPECT_NEAR(first->cutTimeRange_start / 1e6, 0.6, 0.15);
    EXPECT_NEAR(first->cutTimeRange_stop / 1e6, 2.4, 0.15);
    // The second clip: 1 s to 2 s typed into the seconds fields.
    ASSERT_TRUE(selectRow(1));
    kt::typeInto(window.stopFields()[2], QStringLiteral("02"), kt::Commit::Tab);
    kt::typeInto(window.startFields()[2], QStringLiteral("01"), kt::Commit::Tab);
    EXPECT_EQ(window.fileList()[1]->cutTimeRange_start, 1000000);
    EXPECT_EQ(window.fileList()[1]->cutTimeRange_stop, 2000000);
    // The third clip moved up to come second.
    ASSERT_TRUE(selectRow(2));
    kt::click(window.upBtn());
    ASSERT_TRUE(kt::waitUntil([&] { return window.fileList()[1]->path == clips[2]; }, 5000));

    exportkit::OutputFormatBar* bar = window.formatBar();
    const int mp4 = bar->functionItemChilds().indexOf(QStringLiteral("MP4"));
    ASSERT_GE(mp4, 0);
    kestrel::widgets::ZorButton* profile = bar->functionItemButtons()[size_t(mp4)];
    bar->functionItemScrollview()->ensureWidgetVisible(profile);
    kt::click(profile);

    kt::click(window.startJoinnerBtn());
    ASSERT_TRUE(kt::waitUntil([&] { return !window.joining(); }, 300000));
    ASSERT_EQ(alerts.size(), 1) << alerts.join("; ").toStdString();
    const std::string out = window.outputFilePath().toStdString();
    ASSERT_FALSE(out.empty());

    std::vector<kt::journey::ClipTimes> wanted;
    double length = 0;
    for (const auto& record : window.fileList()) {
        const double start = record->cutTimeRange_start / 1e6, stop = record->cutTimeRange_stop / 1e6;
        wanted.push_back({start, stop, int(clips.indexOf(record->path))});
        length += stop - start;
    }
    std::vector<kt::FrameMapping> mappings;
    for (const QString& clip : clips) mappings.push_back(kt::mapFrames(out, clip.toStdString()));
    EXPECT_TRUE(kt::decodesCleanly(out));
    EXPECT_TRUE(kt::journey::showsClipsInOrder(mappings, wanted, kFps));
    EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(out), 0.05, length - 0.05));
}
