// The joiner driven through its own buttons: three clips of different sizes, rates and codecs
// joined with transitions into one file checked by ffprobe; the reference clip's 29.97 kept;
// a user stop leaving no file and no alert; one selected row; small sizes shown; validated
// ranges; volumes as fractions; the format bar's choice on every clip; nothing overwritten.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <cmath>

#include "services/help_class.h"
#include "services/language.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/support_address_resources.h"
#include "tools/shared/support_mail.h"
#include "tests/tools_joiner/joiner_window_helpers.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_button.h"

using kestrel::test::JoinerWindowHarness;
using kestrel::tools::joiner::JoinnerWindowController;

namespace {

// Generated once: the three kinds of clip the joiner must take together.
struct Clips {
    std::string h264, vp9, mpeg2, longer;
};

const Clips& clips() {
    static kestrel::test::TempDir* dir = new kestrel::test::TempDir;
    static const Clips made = [] {
        Clips c{dir->file("h264.mp4"), dir->file("vp9.webm"), dir->file("mpeg2.mpg"), dir->file("long.mp4")};
        kestrel::test::FixtureSpec h264;
        h264.duration_s = 4;
        h264.width = 640;
        h264.height = 360;
        h264.frame_rate = "30000/1001";
        h264.extra_args = {"-b:v", "300k"};
        kestrel::test::makeMedia(c.h264, h264);
        kestrel::test::FixtureSpec vp9;
        vp9.duration_s = 3;
        vp9.width = 480;
        vp9.height = 270;
        vp9.frame_rate = "25";
        vp9.video_codec = "libvpx-vp9";
        vp9.audio_codec = "libopus";
        vp9.sample_rate = 48000;
        vp9.extra_args = {"-deadline", "realtime", "-cpu-used", "8"};
        kestrel::test::makeMedia(c.vp9, vp9);
        kestrel::test::FixtureSpec mpeg2;
        mpeg2.duration_s = 3;
        mpeg2.width = 352;
        mpeg2.height = 288;
        mpeg2.frame_rate = "24";
        mpeg2.video_codec = "mpeg2video";
        mpeg2.audio_codec = "ac3";
        mpeg2.sample_rate = 48000;
        kestrel::test::makeMedia(c.mpeg2, mpeg2);
        return c;
    }();
    return made;
}

QString q(const std::string& s) { return QString::fromStdString(s); }

QString tr(const char* key) { return services::Language::localizedStringForKey(QString::fromLatin1(key)); }

class JoinerWindowTest : public ::testing::Test {
protected:
    void SetUp() override { clips(); }
    JoinerWindowHarness h;
};

TEST_F(JoinerWindowTest, ThreeCodecsJoinWithTransitionsIntoOneFile) {
    h.addThroughPanel({q(clips().h264), q(clips().vp9), q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    ASSERT_EQ(w.fileList().size(), 3);
    // Clip 1 keeps 1 s .. 4 s; clip 2 keeps 0 .. 2.5 s; clip 3 stays whole (3 s).
    h.selectRow(0);
    h.typeInto(w.startFields()[2], "01");
    EXPECT_EQ(w.fileList()[0]->cutTimeRange_start, 1000000);
    h.selectRow(1);
    h.typeInto(w.stopFields()[2], "02");
    h.typeInto(w.stopFields()[3], "50");
    EXPECT_EQ(w.fileList()[1]->cutTimeRange_stop, 2500000);
    h.cell(0)->chooseTransition(3);
    h.cell(1)->chooseTransition(1);
    EXPECT_EQ(w.fileList()[0]->transitionEffect, 3);
    EXPECT_EQ(w.fileList()[1]->transitionEffect, 1);
    ASSERT_TRUE(h.chooseProfile("MP4"));

    JoinerWindowHarness::click(w.startJoinnerBtn());
    EXPECT_TRUE(w.joining());
    EXPECT_EQ(w.startJoinnerBtn()->contentTitle(), tr("CancelexportTitle"));
    ASSERT_TRUE(h.waitJoinEnded());
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_EQ(h.alerts[0].first, JoinnerWindowController::kFinishedAlert);
    EXPECT_EQ(w.startJoinnerBtn()->contentTitle(), tr("StartExportTitle"));
    ASSERT_EQ(h.outputs().size(), 1);
    EXPECT_TRUE(h.outputs()[0].endsWith(".mp4"));

    const auto probed = kestrel::test::ffprobe(w.outputFilePath().toStdString(), true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const auto* video = probed.firstOf("video");
    const auto* audio = probed.firstOf("audio");
    ASSERT_TRUE(video && audio);
    EXPECT_EQ(probed.countOf("video"), 1);
    EXPECT_EQ(video->width, 1280);  // every clip at the profile's one frame size
    EXPECT_EQ(video->height, 720);
    EXPECT_EQ(video->codec, "h264");
    EXPECT_EQ(audio->codec, "aac");
    // 3 + 2.5 + 3 s less two overlaps of a third of 2.5 s.
    const double expected = 8.5 - 2 * (2.5 / 3);
    const double frame = 1.0 / 25;
    EXPECT_NEAR(video->duration_s, expected, 2 * frame);
    EXPECT_NEAR(video->frames * frame, expected, 2 * frame);
    EXPECT_NEAR(audio->duration_s, video->duration_s, 0.1);

    // The fade into the second clip passes through black halfway through its overlap.
    const auto mean = [](const std::vector<unsigned char>& rgb) {
        double sum = 0;
        for (unsigned char v : rgb) sum += v;
        return rgb.empty() ? -1.0 : sum / double(rgb.size());
    };
    const std::string out = w.outputFilePath().toStdString();
    const double inClip = mean(kestrel::test::decodeFrameRGB(out, 1.0, 160, 90));
    const double midFade = mean(kestrel::test::decodeFrameRGB(out, 3.0 - 2.5 / 6, 160, 90));
    EXPECT_GT(inClip, 40.0);
    EXPECT_LT(midFade, inClip * 0.35);
}

TEST_F(JoinerWindowTest, ReferenceClipGivesItsOwnValuesWithTheExactFrameRate) {
    h.addThroughPanel({q(clips().h264), q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    ASSERT_EQ(w.fileList().size(), 2);
    EXPECT_NEAR(w.fileList()[0]->sourceData.fps, 30000.0 / 1001.0, 1e-6);  // not truncated to 29
    JoinerWindowHarness::click(h.cell(0)->referenceBox());
    QTest::qWait(50);
    ASSERT_TRUE(w.fileList()[0]->defaultFormat);
    for (auto* button : w.formatBar()->functionItemButtons()) EXPECT_FALSE(button->isEnabled());
    JoinerWindowHarness::click(w.startJoinnerBtn());
    ASSERT_TRUE(h.waitJoinEnded());
    ASSERT_EQ(h.outputs().size(), 1);
    const auto probed = kestrel::test::ffprobe(w.outputFilePath().toStdString());
    ASSERT_TRUE(probed.ok);
    const auto* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->r_frame_rate, "30000/1001");
    EXPECT_EQ(video->width, 640);
    EXPECT_EQ(video->height, 360);
    EXPECT_NEAR(probed.duration_s, 7.0, 2.0 / 29.97);

    // Unchecking the reference gives the format bar back.
    JoinerWindowHarness::click(h.cell(0)->referenceBox());
    QTest::qWait(50);
    EXPECT_FALSE(w.fileList()[0]->defaultFormat);
    for (auto* button : w.formatBar()->functionItemButtons()) EXPECT_TRUE(button->isEnabled());
}

TEST_F(JoinerWindowTest, StopIsNoSuccessAndLeavesNoFile) {
    kestrel::test::FixtureSpec longer;
    longer.duration_s = 40;
    longer.width = 640;
    longer.height = 360;
    kestrel::test::makeMedia(clips().longer, longer);
    h.addThroughPanel({q(clips().longer), q(clips().longer)});
    JoinnerWindowController& w = h.window();
    h.cell(0)->chooseTransition(3);  // a transition makes the join encode
    ASSERT_TRUE(h.chooseProfile("MP4"));
    JoinerWindowHarness::click(w.startJoinnerBtn());
    ASSERT_TRUE(w.joining());
    QTest::qWait(400);
    JoinerWindowHarness::click(w.startJoinnerBtn());
    ASSERT_TRUE(h.waitJoinEnded());
    EXPECT_TRUE(h.alerts.isEmpty());  // neither "finished" nor an error
    EXPECT_TRUE(h.outputs().isEmpty());
    EXPECT_EQ(w.startJoinnerBtn()->contentTitle(), tr("StartExportTitle"));
    EXPECT_TRUE(w.startJoinnerBtn()->isEnabled());
    EXPECT_TRUE(w.addfileBtn()->isEnabled());
}

TEST_F(JoinerWindowTest, OneRowIsSelectedAndSmallSizesShowTheirUnit) {
    h.addThroughPanel({q(clips().h264), q(clips().vp9), q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    h.selectRow(0);
    h.selectRow(2);
    int selected = 0;
    for (int row = 0; row < 3; ++row) selected += h.cell(row)->selected() ? 1 : 0;
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(h.cell(2)->selected());
    EXPECT_EQ(w.fileListTableView()->selectedRow(), 2);
    // Moving the clip up keeps it selected, alone.
    JoinerWindowHarness::click(w.upBtn());
    EXPECT_EQ(w.fileListTableView()->selectedRow(), 1);
    EXPECT_EQ(q(clips().mpeg2), w.fileList()[1]->path);
    selected = 0;
    for (int row = 0; row < 3; ++row) selected += h.cell(row)->selected() ? 1 : 0;
    EXPECT_EQ(selected, 1);
    // Files well under 1 MB are not shown as 0.0 MB.
    for (int row = 0; row < 3; ++row) {
        ASSERT_LT(QFileInfo(w.fileList()[row]->path).size(), 1000000);
        EXPECT_NE(h.cell(row)->sizeLabel()->text(), "0.0MB");
        EXPECT_TRUE(h.cell(row)->sizeLabel()->text().contains("KB")) << h.cell(row)->sizeLabel()->text().toStdString();
    }
}

TEST_F(JoinerWindowTest, TimeFieldsTakeOnlyAValidRange) {
    h.addThroughPanel({q(clips().h264)});
    JoinnerWindowController& w = h.window();
    h.selectRow(0);
    const auto clip = w.fileList()[0];
    const int64_t whole = clip->cutTimeRange_stop;
    ASSERT_NEAR(whole, 4000000, 10000);
    h.typeInto(w.startFields()[2], "05");  // after the end
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_EQ(h.alerts[0].second, tr("showmessageTime1"));
    EXPECT_EQ(clip->cutTimeRange_start, 0);
    h.alerts.clear();
    h.typeInto(w.startFields()[2], "00");
    h.typeInto(w.stopFields()[2], "09");  // past the clip's end
    ASSERT_FALSE(h.alerts.isEmpty());
    EXPECT_EQ(h.alerts[0].second, tr("showmessageTime2"));
    EXPECT_NEAR(clip->cutTimeRange_stop, whole, 10000);  // unchanged but for the fields' hundredths
    h.alerts.clear();
    h.typeInto(w.stopFields()[2], "03");
    EXPECT_TRUE(h.alerts.isEmpty());
    EXPECT_EQ(clip->cutTimeRange_stop, 3000000);
    EXPECT_EQ(w.cutDurationValueLabel()->text(), services::HelpClass::returnTimeToStr(3.0));
    EXPECT_LE(QFontMetrics(w.cutDurationValueLabel()->font()).horizontalAdvance(w.cutDurationValueLabel()->text()),
              w.cutDurationValueLabel()->width());
    // The row shows the new length.
    EXPECT_EQ(h.cell(0)->cutLengthLabel()->text(), services::HelpClass::returnTimeToStr(3.0));
    // Remove mode and reset.
    JoinerWindowHarness::click(w.unSelectTimeBtn());
    EXPECT_TRUE(clip->isTrimFanxuan);
    JoinerWindowHarness::click(w.resetCutterBtn());
    EXPECT_FALSE(clip->isTrimFanxuan);
    EXPECT_NEAR(clip->cutTimeRange_stop, whole, 1);
}

TEST_F(JoinerWindowTest, VolumeIsAFractionOfTheSlider) {
    h.addThroughPanel({q(clips().h264), q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    h.selectRow(1);
    kestrel::widgets::VolumeProgressSlider* slider = w.volumeSlider();
    const int y = slider->height() / 2;
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() / 4, y));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() / 4, y));
    const double volume = w.fileList()[1]->volume;
    EXPECT_GT(volume, 0.3);
    EXPECT_LT(volume, 0.7);  // about half: kept as a fraction, not cut to 0
    EXPECT_DOUBLE_EQ(w.fileList()[0]->volume, 1.0);
    h.selectRow(0);
    EXPECT_NEAR(slider->progress(), 0.5, 1e-6);
}

TEST_F(JoinerWindowTest, ChosenProfileWritesEveryClipsTarget) {
    h.addThroughPanel({q(clips().h264), q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    ASSERT_TRUE(h.chooseProfile("MP4"));
    for (const auto& clip : w.fileList()) {
        EXPECT_EQ(clip->targetData.width, 1280);
        EXPECT_EQ(clip->targetData.height, 720);
        EXPECT_EQ(clip->targetData.extension, "mp4");
        EXPECT_EQ(clip->targetData.fps, 25.0);
    }
    h.addThroughPanel({q(clips().vp9)});  // a clip added later follows the choice too
    EXPECT_EQ(w.fileList().last()->targetData.width, 1280);
    ASSERT_TRUE(h.chooseProfile("Keep Original"));
    for (const auto& clip : w.fileList()) {
        EXPECT_EQ(clip->targetData.width, clip->sourceData.width);
        EXPECT_EQ(clip->targetData.a_codec, clip->sourceData.a_codec);
    }
}

TEST_F(JoinerWindowTest, AnOutputNameInUseIsNeverReplaced) {
    h.addThroughPanel({q(clips().h264)});
    JoinnerWindowController& w = h.window();
    ASSERT_TRUE(h.chooseProfile("MP4"));
    // The name the join would take, now and in the next seconds, is already there.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList taken;
    for (int s = 0; s < 20; ++s) {
        const QString path = h.outputFolder() + "/" + now.addSecs(s).toString("yyyyMMddHHmmss") + ".mp4";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep");
        taken.append(path);
    }
    JoinerWindowHarness::click(w.startJoinnerBtn());
    ASSERT_TRUE(h.waitJoinEnded());
    EXPECT_TRUE(w.outputFilePath().endsWith("(2).mp4")) << w.outputFilePath().toStdString();
    for (const QString& path : taken) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("keep"));
    }
}

TEST_F(JoinerWindowTest, RefusedFilesAreNamedInOneAlert) {
    const QString broken = h.file("broken.mp4");
    kestrel::test::writeBytes(broken.toStdString(), "not a video at all");
    h.addThroughPanel({q(clips().h264), broken});
    EXPECT_EQ(h.window().fileList().size(), 1);
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_EQ(h.alerts[0].first, JoinnerWindowController::kPlainAlert);
    EXPECT_TRUE(h.alerts[0].second.contains("broken.mp4"));
    EXPECT_EQ(h.window().outputPath(), h.outputFolder());
}

TEST_F(JoinerWindowTest, ClearAndRemoveBringBackTheEmptyList) {
    h.addThroughPanel({q(clips().h264), q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    h.selectRow(1);
    JoinerWindowHarness::click(w.removeBtn());
    EXPECT_EQ(w.fileList().size(), 1);
    EXPECT_EQ(w.fileList()[0]->path, q(clips().h264));
    JoinerWindowHarness::click(w.clearBtn());
    EXPECT_TRUE(w.fileList().isEmpty());
    EXPECT_FALSE(w.fileListTableView()->isVisible());
    EXPECT_EQ(w.player(), nullptr);
    EXPECT_FALSE(w.startJoinnerBtn()->isEnabled());
}

}  // namespace

namespace {

// The empty list shows the support address only when the build has one.
TEST(JoinerWindowSupport, TheEmptyListShowsTheSupportAddressOnlyWhenThereIsOne) {
    for (const QString& address : {QStringLiteral("help@example.org"), QString()}) {
        kestrel::test::SupportAddressResources resources(address);
        ASSERT_TRUE(resources.ok());
        JoinerWindowHarness h;
        JoinnerWindowController& w = h.window();
        w.show();
        ASSERT_TRUE(w.fileList().isEmpty());
        EXPECT_EQ(w.supportMailLink()->isVisible(), !address.isEmpty()) << address.toStdString();
        if (!address.isEmpty()) {
            EXPECT_EQ(w.supportMailLink()->addressLabel()->text(), address);
            EXPECT_EQ(kestrel::tools::shared::supportMailUrl().path(), address);
        }
        w.close();
    }
}

TEST(JoinerWindowClose, ClosingWhileJoiningLeavesNoFile) {
    kestrel::test::TempDir media;
    kestrel::test::FixtureSpec longer;
    longer.duration_s = 40;
    longer.width = 640;
    longer.height = 360;
    const std::string path = media.file("long.mp4");
    kestrel::test::makeMedia(path, longer);
    const QString folder = q(media.file("out"));
    {
        JoinerWindowHarness h;
        h.chooseOutputFolder(folder);
        h.addThroughPanel({q(path), q(path)});
        h.cell(0)->chooseTransition(2);
        JoinerWindowHarness::click(h.window().startJoinnerBtn());
        ASSERT_TRUE(h.window().joining());
        // Being written (on a busy machine the engine may take a moment to open it).
        const auto written = [&] { return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(); };
        ASSERT_TRUE(QTest::qWaitFor([&] { return written() > 0 || !h.window().joining(); }, 60000));
        ASSERT_TRUE(h.window().joining());
        ASSERT_EQ(written(), 1);
    }  // the window closes and goes while the join runs
    // The stopped run removes its unfinished file once the engine has let go of it.
    for (int i = 0; i < 200 && !QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty(); ++i) QTest::qWait(50);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
}

}  // namespace

namespace {

TEST_F(JoinerWindowTest, SnapshotsAreNewPicturesInTheOutputFolder) {
    h.addThroughPanel({q(clips().h264)});
    JoinnerWindowController& w = h.window();
    h.selectRow(0);
    QTest::qWait(300);
    JoinerWindowHarness::click(w.cutCoverBtn());
    JoinerWindowHarness::click(w.cutCoverBtn());
    const QStringList pictures = h.outputs();
    ASSERT_EQ(pictures.size(), 2);  // two in the same second: the second is numbered
    for (const QString& name : pictures) {
        EXPECT_TRUE(name.endsWith(".png"));
        const QImage picture(h.outputFolder() + "/" + name);
        EXPECT_EQ(picture.width(), 640);
        EXPECT_EQ(picture.height(), 360);
    }
}

}  // namespace

namespace {

TEST_F(JoinerWindowTest, AClipGoneBeforeTheJoinFailsWithAnAlertAndNoFile) {
    const QString copy = h.file("copy.mp4");
    ASSERT_TRUE(QFile::copy(q(clips().h264), copy));
    h.addThroughPanel({q(clips().mpeg2), copy});
    ASSERT_EQ(h.window().fileList().size(), 2);
    ASSERT_TRUE(QFile::remove(copy));
    JoinerWindowHarness::click(h.window().startJoinnerBtn());
    ASSERT_TRUE(h.waitJoinEnded());
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_EQ(h.alerts[0].first, JoinnerWindowController::kPlainAlert);
    EXPECT_TRUE(h.alerts[0].second.startsWith(tr("JoinFailedMessage")));
    EXPECT_TRUE(h.outputs().isEmpty());
    EXPECT_EQ(h.window().startJoinnerBtn()->contentTitle(), tr("StartExportTitle"));
}

}  // namespace

namespace {

TEST_F(JoinerWindowTest, SteppersMoveTheClickedFieldAndTakeBackAnInvalidStep) {
    h.addThroughPanel({q(clips().mpeg2)});
    JoinnerWindowController& w = h.window();
    h.selectRow(0);
    const auto clip = w.fileList()[0];
    const int64_t whole = clip->cutTimeRange_stop;
    EXPECT_FALSE(w.steppers()[0]->isEnabled());  // until a field is clicked
    QTest::mouseClick(w.startFields()[2], Qt::LeftButton);
    ASSERT_TRUE(w.steppers()[0]->isEnabled());
    EXPECT_FALSE(w.steppers()[2]->isEnabled());
    JoinerWindowHarness::click(w.steppers()[0]);  // start seconds up
    EXPECT_EQ(clip->cutTimeRange_start, 1000000);
    JoinerWindowHarness::click(w.steppers()[1]);
    JoinerWindowHarness::click(w.steppers()[1]);  // below 0: not taken
    EXPECT_EQ(clip->cutTimeRange_start, 0);
    EXPECT_EQ(w.startFields()[2]->text(), "00");
    QTest::mouseClick(w.stopFields()[2], Qt::LeftButton);
    ASSERT_TRUE(w.steppers()[2]->isEnabled());
    JoinerWindowHarness::click(w.steppers()[2]);  // past the clip's end: taken back
    EXPECT_NEAR(clip->cutTimeRange_stop, whole, 10000);
    JoinerWindowHarness::click(w.steppers()[3]);
    EXPECT_EQ(clip->cutTimeRange_stop, 2000000);
    EXPECT_TRUE(h.alerts.isEmpty());  // steppers say nothing
}

}  // namespace

namespace {

TEST_F(JoinerWindowTest, OnSmallScreensTheFormatBarCollapsesAndTheWindowFollows) {
    JoinnerWindowController& w = h.window();
    const int height = w.height();
    const int startY = w.startJoinnerBtn()->y();
    w.formatBar()->setScreenHeight(700);
    JoinerWindowHarness::click(w.formatBar()->showFunctionBtn());
    EXPECT_EQ(w.height(), height - 140);
    EXPECT_EQ(w.startJoinnerBtn()->y(), startY - 140);
    EXPECT_LE(w.startJoinnerBtn()->geometry().bottom(), w.height());
    JoinerWindowHarness::click(w.formatBar()->showFunctionBtn());
    EXPECT_EQ(w.height(), height);
    EXPECT_EQ(w.startJoinnerBtn()->y(), startY);
}

}  // namespace
