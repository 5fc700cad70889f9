// The joiner as a new user uses it: three clips added through Add File, the third one's start
// typed into its field, a fade to black chosen from the first clip's transition menu, the MP4
// profile clicked in the format bar, Start pressed. The joined file is judged frame by frame
// against the ffmpeg command line doing the same join (scale, xfade, concat), and its sound
// must run from the first frame to the last.
#include <gtest/gtest.h>

#include <QDir>
#include <QScrollArea>
#include <QStringList>

#include "export/ui/output_format_bar.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/joiner/joinner_window_controller.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/inset_button.h"
#include "tools/shared/output_folder_popup.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::tools::joiner::JoinnerWindowController;

namespace {

constexpr int kFps = 25;

// Three 3 s clips of one size, told apart by their pictures; 16:9, so the profile's 1280x720
// holds them without bars.
QStringList makeClips(const kt::TempDir& dir) {
    QStringList paths;
    const char* sources[] = {"testsrc2", "testsrc", "testsrc2"};
    for (int i = 0; i < 3; ++i) {
        kt::FixtureSpec spec;
        spec.duration_s = 3;
        spec.width = 384;
        spec.height = 216;
        spec.frame_rate = "25";
        spec.gop = 25;
        spec.video_source = sources[i];
        if (i == 2) spec.extra_args = {"-vf", "hue=h=120"};  // the third shows other colours
        const std::string path = dir.file("clip" + std::to_string(i) + ".mp4");
        kt::makeMedia(path, spec);
        paths << QString::fromStdString(path);
    }
    return paths;
}

QString text(const char* key) { return services::localized(QString::fromLatin1(key)); }

}  // namespace

TEST(JoinerJourney, ThreeClipsWithAFadeJoinFrameForFrame) {
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
    // The output folder through the pop-up's "other folder" item, answered by the folder panel.
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([&](const QString&) { return outFolder; });
    window.outputFolderBtn()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});

    // Add File, the open panel answering with the three clips.
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return clips; });
    kt::click(window.addfileBtn());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_TRUE(kt::waitUntil([&] { return window.fileList().size() == 3; }, 30000)) << alerts.join("; ").toStdString();

    // The third clip starts 1 s in: its row chosen, the seconds field typed and left by Tab.
    kestrel::tools::shared::ClipListCell* third = window.fileListTableView()->cell(2);
    kt::clickAt(third, QPoint(third->width() / 2, third->height() / 2));
    kt::typeInto(window.startFields()[2], QStringLiteral("01"), kt::Commit::Tab);
    ASSERT_EQ(window.fileList()[2]->cutTimeRange_start, 1000000);

    // A fade to black from the first clip into the second, from the clip's transition menu.
    kestrel::tools::shared::ClipListCell* first = window.fileListTableView()->cell(0);
    const auto faded = kt::chooseInNextMenu(text("FADEOUTItemTitle"));
    kt::click(first->transitionButton());
    ASSERT_TRUE(kt::waitUntil([&] { return *faded; }, 10000));
    ASSERT_EQ(window.fileList()[0]->transitionEffect, 3);

    // The MP4 profile, clicked in the format bar.
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

    // The same join by the command line: each clip at 1280x720, the fade over the last second
    // of the first clip (a third of the shorter clip), then the rest of the third clip.
    const std::vector<std::string> args = {
        "-i", clips[0].toStdString(), "-i", clips[1].toStdString(), "-i", clips[2].toStdString(), "-filter_complex",
        "[0:v]scale=1280:720,setsar=1,format=yuv420p[a];[1:v]scale=1280:720,setsar=1,format=yuv420p[b];"
        "[2:v]trim=start=1,setpts=PTS-STARTPTS,scale=1280:720,setsar=1,format=yuv420p[c];"
        "[a][b]xfade=transition=fadeblack:duration=1:offset=2[ab];[ab][c]concat=n=2:v=1:a=0[v]",
        "-map", "[v]"};
    const std::string reference = kt::makeReference(dir, "reference", args);

    EXPECT_TRUE(kt::decodesCleanly(out));
    kt::CompareOptions loose;
    loose.min_psnr_db = 0;
    loose.min_ssim = 0.90;
    const kt::FrameComparison joined = kt::compareFrames(out, reference, loose);
    ASSERT_TRUE(joined.error.empty()) << joined.error;
    ASSERT_EQ(joined.output_frames, 7 * kFps) << joined.describe();
    ASSERT_EQ(joined.reference_frames, joined.output_frames) << joined.describe();
    const int fadeFrom = 2 * kFps, fadeTo = 3 * kFps;
    for (const kt::FrameFigures& f : joined.frames) {
        const bool inFade = f.frame >= fadeFrom && f.frame < fadeTo;
        EXPECT_GE(f.ssim, inFade ? 0.90 : 0.95) << "frame " << f.frame << (inFade ? " (in the fade)" : "");
    }
    EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(out), 0.0, 7.0));
}
