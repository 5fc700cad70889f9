// The panels' editing rules over a real preview player: selection after deletes, steppers and
// their limits, the overlay box kept in points and fractions, and the music list.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "editor/music/music_panel.h"
#include "editor/watermark/watermark_panel.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/media/first_frame.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/zor_button.h"

using namespace kestrel::editor;
using namespace kestrel::session;
using kestrel::player::DIVuverIzizud;
namespace kt = kestrel::test;

namespace {

struct Fixture {
    kt::TempDir dir;
    std::string video = dir.file("v.mp4");
    std::unique_ptr<DIVuverIzizud> player;
    kestrel::model::SimpleDataPtr file = kestrel::model::makeSimpleData();

    Fixture() {
        kt::FixtureSpec spec;
        spec.audio_streams = 1;
        kt::makeMedia(video, spec);
        player = DIVuverIzizud::initWithString(video, QRectF(0, 0, 320, 240));
        file->sourceData.width = 320;
        file->sourceData.height = 240;
        file->sourceData.duration = 2;
    }
};

}  // namespace

TEST(WatermarkPanelEditing, DeletingLeavesNoStaleSelection) {
    Fixture f;
    ASSERT_TRUE(f.player);
    WatermarkPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    panel.addTextWaterMark();
    panel.addTextWaterMark();
    ASSERT_EQ(panel.waterMarkList().size(), 2);
    EXPECT_EQ(panel.selectedWaterMarkIndex(), 1);
    EXPECT_EQ(panel.waterMarkList()[0].selected, false);
    panel.deleteWaterMark();
    ASSERT_EQ(panel.waterMarkList().size(), 1);
    EXPECT_EQ(panel.selectedWaterMarkIndex(), -1);
    // With nothing selected the steppers change no entry.
    const kestrel::model::WaterParam before = panel.waterMarkList()[0];
    panel.stepAlpha(+1);
    panel.setKeepAspectRatio(true);
    EXPECT_EQ(panel.waterMarkList()[0], before);
    panel.selectWaterMark(0);
    panel.stepAlpha(+1);
    EXPECT_EQ(panel.waterMarkList()[0].waterAlph, 1);
    panel.deleteWaterMark();
    EXPECT_TRUE(panel.waterMarkList().isEmpty());
    EXPECT_TRUE(panel.watermarkView()->waterMark().isNull());
}

TEST(WatermarkPanelEditing, SteppersKeepTheirLimitsAndRenameChangesTheSelectedText) {
    Fixture f;
    ASSERT_TRUE(f.player);
    WatermarkPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    panel.addTextWaterMark();
    // Start up-stepper may not pass the file's 2 s duration.
    auto& start = panel.timeGroup(WatermarkPanel::kStart).fields;
    panel.actionMouseDownForTextFieldBlock(start[2]);
    panel.stepTimeGroup(WatermarkPanel::kStart, +1);
    panel.stepTimeGroup(WatermarkPanel::kStart, +1);
    EXPECT_FLOAT_EQ(panel.waterMarkList()[0].startTime, 2.0f);
    panel.stepTimeGroup(WatermarkPanel::kStart, +1);
    EXPECT_FLOAT_EQ(panel.waterMarkList()[0].startTime, 2.0f);
    EXPECT_EQ(start[2]->text(), "02");
    // Transparency stays within 1..100.
    for (int i = 0; i < 120; ++i) panel.stepAlpha(+1);
    EXPECT_EQ(panel.waterMarkList()[0].waterAlph, 100);

    const QRectF oldBox = panel.waterMarkList()[0].waterRect;
    panel.changeWaterMarkText(0, "A much longer watermark text");
    EXPECT_EQ(panel.waterMarkList()[0].waterText, "A much longer watermark text");
    EXPECT_GT(panel.waterMarkList()[0].waterRect.width(), oldBox.width());
    EXPECT_LE(panel.waterMarkList()[0].waterRect.right(), panel.watermarkView()->width());
    panel.changeWaterMarkText(5, "nothing");  // not the selected row: ignored
    EXPECT_EQ(panel.waterMarkList()[0].waterText, "A much longer watermark text");
}

TEST(WatermarkPanelEditing, DraggingTheOverlayStoresPointsAndFractions) {
    Fixture f;
    ASSERT_TRUE(f.player);
    const std::string png = f.dir.file("p.png");
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::green);
    picture.save(QString::fromStdString(png));
    WatermarkPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    ASSERT_TRUE(panel.addPictureWaterMark(QString::fromStdString(png)));
    EXPECT_FALSE(panel.addPictureWaterMark(QString::fromStdString(f.dir.file("none.png"))));
    RDWaterView* overlay = panel.watermarkView();
    ASSERT_EQ(overlay->size(), QSize(320, 240));
    const QRectF box = panel.waterMarkList()[0].waterRect;
    // Press in the body (Qt coordinates count from the top) and drag 100 right, 50 up.
    const QPoint press(int(box.center().x()), int(240 - box.center().y()));
    QTest::mousePress(overlay, Qt::LeftButton, {}, press);
    QMouseEvent move(QEvent::MouseMove, QPointF(press + QPoint(100, -50)), overlay->mapToGlobal(QPointF(press + QPoint(100, -50))),
                     Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(overlay, &move);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, press + QPoint(100, -50));
    const kestrel::model::WaterParam& mark = panel.waterMarkList()[0];
    EXPECT_NEAR(mark.waterRect.x(), box.x() + 100, 1);
    EXPECT_NEAR(mark.waterRect.y(), box.y() + 50, 1);
    EXPECT_NEAR(mark.waterPercentClipRect.x(), mark.waterRect.x() / 320, 1e-6);
    EXPECT_NEAR(mark.waterPercentClipRect.y(), mark.waterRect.y() / 240, 1e-6);
    EXPECT_EQ(panel.widthField()->text(), QString::number(qRound(mark.waterRect.width())));
}

TEST(MusicPanelEditing, ListIsNewestFirstAndDeleteSelectsTheFirstItem) {
    Fixture f;
    ASSERT_TRUE(f.player);
    kt::FixtureSpec tone;
    tone.width = 0;
    tone.duration_s = 1;
    kt::makeMedia(f.dir.file("a.m4a"), tone);
    kt::makeMedia(f.dir.file("b.m4a"), tone);
    MusicPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    panel.addMusicFiles({QString::fromStdString(f.dir.file("a.m4a")), QString::fromStdString(f.dir.file("b.m4a"))});
    ASSERT_EQ(panel.musicList().size(), 2);
    EXPECT_TRUE(panel.musicList()[0].path.endsWith("b.m4a"));
    EXPECT_EQ(panel.selectedMusicIndex(), 0);
    EXPECT_TRUE(panel.musicList()[0].selected);
    EXPECT_NEAR(panel.musicList()[0].pruneDuration, 1.0, 0.05);  // shorter than the video: its own length

    panel.checkMusic(1);
    EXPECT_FALSE(panel.musicList()[1].isCheck);
    EXPECT_EQ(panel.selectedMusicIndex(), 0);

    panel.deleteMusic();
    ASSERT_EQ(panel.musicList().size(), 1);
    EXPECT_EQ(panel.selectedMusicIndex(), 0);
    EXPECT_TRUE(panel.musicList()[0].selected);
    panel.deleteMusic();
    EXPECT_TRUE(panel.musicList().isEmpty());
    EXPECT_EQ(panel.selectedMusicIndex(), -1);
    panel.deleteMusic();  // nothing left: nothing happens
    panel.toggleFadeIn();
}

TEST(MusicPanelEditing, LengthRowsAreReadBackAsLengths) {
    Fixture f;
    ASSERT_TRUE(f.player);
    kt::FixtureSpec tone;
    tone.width = 0;
    tone.duration_s = 3;
    kt::makeMedia(f.dir.file("a.m4a"), tone);
    MusicPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    panel.addMusicFiles({QString::fromStdString(f.dir.file("a.m4a"))});
    ASSERT_EQ(panel.musicList().size(), 1);
    auto& length = panel.timeRow(MusicPanel::kPositionLength).fields;
    EXPECT_EQ(length[2]->text(), "02");  // the span 0..2 s shows as its length
    panel.actionMouseDownForTextFieldBlock(length[2]);
    panel.stepRow(MusicPanel::kPositionLength, -1);
    EXPECT_FLOAT_EQ(panel.musicList()[0].positionEnd, 1.0f);
    EXPECT_FLOAT_EQ(panel.musicList()[0].pruneDuration, 1.0f);
    EXPECT_EQ(panel.timeRow(MusicPanel::kPruneLength).fields[2]->text(), "01");
}

// The music trim's range bar is set from the item with the bar's pair setter, and every drag
// step is read back from the bar: dragging only its end handle leaves the trim start alone.
TEST(MusicPanelEditing, DraggingTheTrimEndHandleKeepsTheTrimStart) {
    Fixture f;
    ASSERT_TRUE(f.player);
    kt::FixtureSpec tone;
    tone.width = 0;
    tone.duration_s = 6;
    kt::makeMedia(f.dir.file("a.m4a"), tone);
    MusicPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    panel.addMusicFiles({QString::fromStdString(f.dir.file("a.m4a"))});
    ASSERT_EQ(panel.musicList().size(), 1);
    panel.resize(320, 700);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    kt::click(panel.pruneButton());
    ASSERT_TRUE(panel.pruneBar()->isVisible());
    // Music 0..6 s over the 2 s video: the trim takes 2 s; typed to start at 3 s, it is 3..5 s.
    kt::typeInto(panel.timeRow(MusicPanel::kPruneStart).fields[2], QStringLiteral("03"), kt::Commit::Tab);
    const auto& item = panel.musicList()[0];
    ASSERT_FLOAT_EQ(item.pruneStart, 3.0f);
    ASSERT_FLOAT_EQ(item.pruneDuration, 2.0f);

    kestrel::widgets::RDCutProgressView* bar = panel.pruneBar();
    const double musicS = item.musicDuration;
    const double sPerPixel = musicS / kt::drawnTrack(bar).width();
    const QPoint grip = kt::trimGrip(bar, kt::TrimPart::End);
    kt::drag(bar, grip, grip - QPoint(20, 0), 5);
    // A fraction of the music in single precision is exact to a few parts in 2^24 of its length.
    EXPECT_NEAR(item.pruneStart, 3.0, musicS * 4 / (1 << 24));
    // Where the end handle is drawn, to the pixel Qt rounds it to.
    EXPECT_NEAR(item.pruneStart + item.pruneDuration, kt::drawnValue(bar, kt::TrimPart::End) * musicS, sPerPixel);
    // The grip is pressed at a whole pixel of where it is drawn: the 20 pixels moved are 20 with a
    // pixel of rounding either way, and a hair of single precision.
    EXPECT_NEAR(item.pruneDuration, 2.0 - 20 * sPerPixel, 1.05 * sPerPixel);
}

TEST(WatermarkPanelEditing, AVideoWatermarkTakesItsFirstFrameAndItsOwnLength) {
    Fixture f;
    ASSERT_TRUE(f.player);
    const QImage frame = getWaterImageWithPath(QString::fromStdString(f.video));
    EXPECT_EQ(frame.size(), QSize(240, 180));
    EXPECT_TRUE(getWaterImageWithPath(QString::fromStdString(f.dir.file("none.mp4"))).isNull());

    WatermarkPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    ASSERT_TRUE(panel.addPictureWaterMark(QString::fromStdString(f.video)));
    const kestrel::model::WaterParam& mark = panel.waterMarkList()[0];
    EXPECT_TRUE(mark.isVideo);
    EXPECT_NEAR(mark.fileDuration, 2.0, 0.1);
    EXPECT_EQ(mark.fileEndTime, mark.fileDuration);
    EXPECT_TRUE(mark.keepaspectRatio);
    EXPECT_NEAR(mark.waterRect.width() / mark.waterRect.height(), 240.0 / 180.0, 0.02);
    EXPECT_FALSE(panel.watermarkView()->waterMark().isNull());
}

TEST(WatermarkPanelEditing, FontAndColourRestyleOnlyATextWatermark) {
    Fixture f;
    ASSERT_TRUE(f.player);
    WatermarkPanel panel;
    panel.setPlayer(f.player.get(), f.file);
    panel.addTextWaterMark();
    const QRectF before = panel.waterMarkList()[0].waterRect;
    QFont bigger("DejaVu Sans");
    bigger.setPointSizeF(48);
    panel.changeWaterFont(bigger);
    panel.changeColor(QColor(255, 0, 0));
    const kestrel::model::WaterParam& mark = panel.waterMarkList()[0];
    EXPECT_EQ(mark.waterFontSize, 48);
    EXPECT_EQ(mark.waterFontColor, QColor(255, 0, 0));
    EXPECT_GT(mark.waterRect.height(), before.height());
    EXPECT_EQ(panel.watermarkView()->waterMarkColor(), QColor(255, 0, 0));
}
