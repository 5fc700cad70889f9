// The editor window while its preview plays, driven through its own controls: what the window
// shows of playing is what the player does, whatever a panel or a new file did to the player;
// a watermark row clicked during playback stays in the playing picture; typed watermark sizes
// are taken when the field is left.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <vector>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "editor/music/music_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/user_defaults.h"
#include "session/edit/watermark_records.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;

namespace {

struct PlayState : ::testing::Test {
    kt::TempDir dir;
    QPointer<EditVideoWindowController> window;
    QStringList alerts;

    // A black 10 s video: long enough to play through every step, and a white watermark stands out.
    std::string blackVideo(const char* name, bool withSound = false) {
        const std::string path = dir.file(name);
        kt::FixtureSpec spec;
        spec.duration_s = 10;
        spec.video_source = "color=c=black";
        spec.audio_streams = withSound ? 1 : 0;
        kt::makeMedia(path, spec);
        return path;
    }
    std::string tone() {
        const std::string path = dir.file("tone.m4a");
        kt::FixtureSpec spec;
        spec.width = 0;
        spec.duration_s = 2;
        kt::makeMedia(path, spec);
        return path;
    }
    void open(int64_t tool, const std::string& path) {
        auto& defaults = platform::UserDefaults::standard();
        for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(path));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        kt::activate(window->window());
    }
    EditVideoWindowController::Views& views() { return window->views(); }
    kestrel::editor::WatermarkPanel& watermarks() { return *window->sidePanels()->watermarkPanel(); }
    kestrel::editor::MusicPanel& music() { return *window->sidePanels()->musicPanel(); }
    bool playerPlays() { return window->rdPlayer() && window->rdPlayer()->playerStatus() == 1; }
    // The play button and the stop button show the player's own state.
    ::testing::AssertionResult transportShowsThePlayer() {
        const bool plays = playerPlays();
        if (views().b_playPauseBtn->selected() != plays)
            return ::testing::AssertionFailure() << "play button shows " << (plays ? "paused" : "playing")
                                                 << " while the player " << (plays ? "plays" : "stands");
        if (views().b_stopBtn->isEnabled() != plays)
            return ::testing::AssertionFailure() << "stop button " << (plays ? "off" : "on") << " while the player "
                                                 << (plays ? "plays" : "stands");
        return ::testing::AssertionSuccess();
    }
    void startPlaying() {
        kt::click(views().b_playPauseBtn);
        ASSERT_TRUE(kt::waitUntil([&] { return playerPlays(); }, 10000));
        ASSERT_TRUE(transportShowsThePlayer());
    }
    void answerOpenPanel(const std::string& path) {
        kestrel::widgets::setOpenPanelRunner(
            [path](const kestrel::widgets::OpenPanelRequest&) { return QStringList{QString::fromStdString(path)}; });
    }
    void TearDown() override {
        kestrel::widgets::setOpenPanelRunner({});
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// The mean of the player's shown picture inside a box given as fractions (bottom-left origin).
double shownMeanInside(kestrel::player::DIVuverIzizud& player, const QRectF& fractions) {
    int32_t w = 320, h = 240;
    std::vector<uint8_t> bgra(size_t(w) * size_t(h) * 4);
    if (player.Snapshot(&w, &h, bgra.data()) != 1) return -1;
    const kestrel::session::PixelEdges box = kestrel::session::pixelEdgesFromFractions(fractions, w, h);
    double sum = 0;
    long count = 0;
    for (int y = std::max(0, box.top); y < std::min(h, box.bottom); ++y)
        for (int x = std::max(0, box.left); x < std::min(w, box.right); ++x)
            for (int c = 0; c < 3; ++c) {
                sum += bgra[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)];
                ++count;
            }
    return count ? sum / double(count) : -1;
}

}  // namespace

// Music added and another file opened while the preview plays: each pauses the preview through
// the window, so the transport shows the player, and one click plays again.
TEST_F(PlayState, AddingMusicOrAFileWhilePlayingLeavesTheWindowShowingThePlayer) {
    open(EditVideoWindowController::kToolMusic, blackVideo("first.mp4"));
    const std::string song = tone();

    startPlaying();
    answerOpenPanel(song);
    kt::click(music().addButton());
    ASSERT_EQ(music().musicList().size(), 1) << alerts.join("; ").toStdString();
    EXPECT_FALSE(playerPlays());
    EXPECT_TRUE(transportShowsThePlayer());
    startPlaying();

    const std::string second = blackVideo("second.mp4", true);
    answerOpenPanel(second);
    kt::click(views().addfileButton);
    ASSERT_EQ(window->fileData()->path, QString::fromStdString(second));
    EXPECT_TRUE(transportShowsThePlayer());
    if (!playerPlays()) startPlaying();  // one click, never a lost one
    EXPECT_TRUE(transportShowsThePlayer());
}

// While the preview plays, the watermark panel adds nothing: its add buttons are off, and a
// press on them leaves the preview playing as the window shows it.
TEST_F(PlayState, WatermarksAreAddedOnlyWhilePaused) {
    open(EditVideoWindowController::kToolWatermark, blackVideo("clip.mp4"));
    startPlaying();
    EXPECT_FALSE(watermarks().textButton()->isEnabled());
    EXPECT_FALSE(watermarks().pictureButton()->isEnabled());
    kt::click(watermarks().textButton());
    EXPECT_TRUE(watermarks().waterMarkList().isEmpty());
    EXPECT_TRUE(playerPlays());
    EXPECT_TRUE(transportShowsThePlayer());
}

// A watermark row clicked during playback: the watermark stays in the playing picture and its
// editing controls stay off until the preview is paused.
TEST_F(PlayState, AWatermarkRowClickedWhilePlayingStaysInThePicture) {
    open(EditVideoWindowController::kToolWatermark, blackVideo("clip.mp4"));
    const std::string picture = dir.file("white.png");
    QImage white(80, 60, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(QString::fromStdString(picture)));
    answerOpenPanel(picture);
    kt::click(watermarks().pictureButton());
    ASSERT_EQ(watermarks().waterMarkList().size(), 1) << alerts.join("; ").toStdString();
    const QRectF box = watermarks().waterMarkList()[0].waterPercentClipRect;

    startPlaying();
    kestrel::player::DIVuverIzizud& player = *window->rdPlayer();
    ASSERT_TRUE(kt::waitUntil([&] { return shownMeanInside(player, box) > 200; }, 10000))
        << "the watermark is drawn while playing";
    kt::click(watermarks().listItems()[0]);
    const double clickedAt = player.currentTime().seconds();
    ASSERT_TRUE(kt::waitUntil([&] { return player.currentTime().seconds() > clickedAt + 0.5; }, 10000));
    EXPECT_TRUE(playerPlays());
    EXPECT_GT(shownMeanInside(player, box), 200) << "the clicked watermark left the playing picture";
    EXPECT_FALSE(watermarks().widthField()->isEnabled());
    EXPECT_FALSE(watermarks().timeGroup(kestrel::editor::WatermarkPanel::kStart).fields[0]->isEnabled());

    kt::click(views().b_playPauseBtn);
    ASSERT_TRUE(kt::waitUntil([&] { return !playerPlays(); }, 10000));
    EXPECT_TRUE(watermarks().widthField()->isEnabled());
}

// A typed width or height is taken as typed when the field is left; the 10-point minimum never
// turns its first digit into 10.
TEST_F(PlayState, TypedWatermarkSizesAreTakenWhenTheFieldIsLeft) {
    open(EditVideoWindowController::kToolWatermark, blackVideo("clip.mp4"));
    const std::string picture = dir.file("white.png");
    QImage white(80, 60, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(QString::fromStdString(picture)));
    answerOpenPanel(picture);
    kt::click(watermarks().pictureButton());
    ASSERT_EQ(watermarks().waterMarkList().size(), 1);
    if (watermarks().keepAspectButton()->selected()) kt::click(watermarks().keepAspectButton());
    ASSERT_FALSE(watermarks().waterMarkList()[0].keepaspectRatio);

    struct Case {
        kestrel::widgets::RDTextField* field;
        const char* typed;
        bool width;
    };
    for (const Case& c : {Case{watermarks().widthField(), "150", true}, Case{watermarks().heightField(), "45", false},
                          Case{watermarks().widthField(), "45", true}, Case{watermarks().heightField(), "150", false}}) {
        SCOPED_TRACE(std::string(c.width ? "width " : "height ") + c.typed);
        kt::typeInto(c.field, QString::fromLatin1(c.typed), kt::Commit::Tab);
        const QRectF kept = watermarks().waterMarkList()[0].waterRect;
        EXPECT_EQ(c.field->text(), QString::fromLatin1(c.typed));
        EXPECT_EQ(std::lround(c.width ? kept.width() : kept.height()), QString::fromLatin1(c.typed).toInt());
    }
}

// Keep selected part starts the preview: the transport shows it playing, Stop included.
TEST_F(PlayState, KeepSelectedPartPlaysWithItsStopButton) {
    open(EditVideoWindowController::kToolTrim, blackVideo("clip.mp4"));
    kt::click(views().keepTimeSelectedPart);
    ASSERT_TRUE(kt::waitUntil([&] { return playerPlays(); }, 10000));
    EXPECT_TRUE(transportShowsThePlayer());
    kt::click(views().b_stopBtn);
    ASSERT_TRUE(kt::waitUntil([&] { return !playerPlays(); }, 10000));
    EXPECT_TRUE(transportShowsThePlayer());
}
