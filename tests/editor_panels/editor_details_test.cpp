// What a user meets around the preview of the editor window, driven through its own controls:
// the snapshot's click, the music list and its lengths, the audio-track box, the seek bar on the
// music tab.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <cmath>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "editor/music/music_collection_view_item.h"
#include "editor/music/music_panel.h"
#include "editor/shutter_sound.h"
#include "editor/watermark/editor_side_panels.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/eliding_combo_box.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

namespace {

struct CountingShutter : kestrel::editor::ShutterSound {
    int* plays;
    explicit CountingShutter(int* counter) : plays(counter) {}
    void play() override { ++*plays; }
};

struct EditorDetails : ::testing::Test {
    kt::TempDir dir;
    QPointer<EditVideoWindowController> window;
    QStringList alerts;

    std::string video(const char* name, double seconds, kt::FixtureSpec spec = {}) {
        const std::string path = dir.file(name);
        spec.duration_s = seconds;
        kt::makeMedia(path, spec);
        return path;
    }
    void open(int64_t tool, const std::string& path) {
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(path));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        ASSERT_NE(window->fileData(), nullptr);
        ASSERT_NE(window->rdPlayer(), nullptr);
    }
    EditVideoWindowController::Views& v() { return window->views(); }
    kestrel::editor::MusicPanel& music() { return *window->sidePanels()->musicPanel(); }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    void TearDown() override {
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace

// The click sounds for a snapshot that was written, never for one that failed; the sound itself
// is our own short file in the resource bundle, and playing it without a sound device is harmless.
TEST_F(EditorDetails, ShutterSoundOnlyForAWrittenSnapshot) {
    open(1, video("clip.mp4", 1));
    int plays = 0;
    window->setShutterSound(std::make_unique<CountingShutter>(&plays));
    const std::string notAFolder = dir.file("plain-file");
    kt::writeBytes(notAFolder, "taken");
    window->setOutputPath(QString::fromStdString(notAFolder));
    click(v().b_cameraBtn);
    EXPECT_EQ(alerts.size(), 1);
    EXPECT_EQ(plays, 0) << "a failed snapshot makes no click";

    window->setOutputPath(QString::fromStdString(dir.path()));
    click(v().b_cameraBtn);
    ASSERT_TRUE(QFileInfo::exists(window->lastSnapshotPath()));
    EXPECT_EQ(plays, 1);

    const std::string wav = (services::Language::resourceBundlePath() + "/Capture.wav").toStdString();
    const kt::ProbedMedia sound = kt::ffprobe(wav);
    ASSERT_EQ(sound.countOf("audio"), 1) << wav;
    EXPECT_GT(sound.duration_s, 0.05);
    EXPECT_LT(sound.duration_s, 0.5);
    kestrel::editor::makeDeviceShutterSound()->play();  // no sound device here: nothing happens
}

// An 8 s music file on a longer video plays for its own 8 s: the "Length" row shows that, not
// the rest of the video.
TEST_F(EditorDetails, MusicLengthIsTheMusicsOwn) {
    kt::FixtureSpec small;
    small.width = 160;
    small.height = 120;
    open(64, video("long.mp4", 12, small));
    kt::FixtureSpec tone;
    tone.width = 0;
    const std::string song = video("song.m4a", 8, tone);
    ASSERT_TRUE(music().addMusicFiles({QString::fromStdString(song)}).isEmpty());
    const auto& fields = music().timeRow(kestrel::editor::MusicPanel::kPositionLength).fields;
    const double shown = fields[0]->text().toInt() * 3600.0 + fields[1]->text().toInt() * 60.0 +
                         fields[2]->text().toInt() + fields[3]->text().toInt() / 1000.0;
    EXPECT_NEAR(shown, kt::ffprobe(song).duration_s, 0.05);
    EXPECT_EQ(fields[2]->text(), QStringLiteral("08"));

    // The list names the file, not its folders.
    ASSERT_EQ(music().listItems().size(), 1);
    EXPECT_EQ(music().listItems()[0]->nameLabel()->text(), QStringLiteral("song.m4a"));
    EXPECT_EQ(music().listItems()[0]->nameLabel()->toolTip(), QString::fromStdString(song));
}

// Each audio track is named in words, in the interface language, and follows a switch.
TEST_F(EditorDetails, AudioTrackBoxNamesTracksInWords) {
    kt::FixtureSpec spec;
    spec.audio_streams = 2;
    spec.sample_rate = 48000;
    spec.channels = 2;
    spec.extra_args = {"-metadata:s:a:0", "language=eng"};
    open(1, video("two-tracks.mkv", 1, spec));
    QComboBox* box = v().audiochanelPopBtn;
    ASSERT_EQ(box->count(), 2);
    using services::localized;
    const QString stereo = localized("AudioTrackStereo"), rate = localized("AudioTrackSampleRate").arg(48000);
    EXPECT_EQ(box->itemText(0), QStringList({localized("AudioTrackNumber").arg(1), "English", stereo, rate}).join(" · "));
    EXPECT_EQ(box->itemText(1), QStringList({localized("AudioTrackNumber").arg(2), stereo, rate}).join(" · "));
    EXPECT_TRUE(box->itemText(0).startsWith("Track 1")) << box->itemText(0).toStdString();
    // A name too long for the box is cut with an ellipsis and shown whole as its tool tip.
    auto* eliding = dynamic_cast<kestrel::widgets::ElidingComboBox*>(box);
    ASSERT_NE(eliding, nullptr);
    box->setCurrentIndex(0);
    if (eliding->shownText() != box->itemText(0)) {
        EXPECT_TRUE(eliding->shownText().endsWith(QChar(0x2026)));
        EXPECT_EQ(box->toolTip(), box->itemText(0));
    }
    box->resize(60, box->height());
    EXPECT_NE(eliding->shownText(), box->itemText(0));
    EXPECT_EQ(box->toolTip(), box->itemText(0));

    box->setCurrentIndex(1);
    auto& defaults = platform::UserDefaults::standard();
    const qint64 before = defaults.integerForKey("AppLanguage");
    defaults.setInteger("AppLanguage", 3);  // French
    services::Language::setLanguage();
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
    EXPECT_TRUE(box->itemText(0).startsWith(QStringLiteral("Piste 1"))) << box->itemText(0).toStdString();
    EXPECT_EQ(box->currentIndex(), 1) << "the chosen track stays chosen";
    defaults.setInteger("AppLanguage", before);
    services::Language::setLanguage();
    platform::NotificationCenter::defaultCenter().post(platform::kChangeLanguageNotification);
}

// On the music tab the range bar is still there, and a press on it moves the preview.
TEST_F(EditorDetails, SeekBarWorksOnTheMusicTab) {
    open(1, video("clip.mp4", 4));
    window->audioAction();
    kestrel::widgets::RDCutProgressView* bar = v().cutProgressView;
    ASSERT_TRUE(bar->isVisible());
    const QPoint threeQuarters(int(bar->width() * 0.75), bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, threeQuarters);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, threeQuarters);
    const double now = window->rdPlayer()->currentTime().seconds();
    EXPECT_GT(now, 1.5) << "the press seeks the preview";
    window->cutAction();
    EXPECT_TRUE(bar->isVisible());
}
