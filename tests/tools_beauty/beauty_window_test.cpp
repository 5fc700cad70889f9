// The face beauty window: the packaged model switches the shape rows on, a picture exports as
// a picture of its own kind, and an export asking for slimming without the model fails with
// the engine's code and leaves no file.
#include "session/export/single_clip/single_clip_export.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tools/beauty/beauty_window_controller.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using beauty::BeautyWindowController;

namespace {

struct PictureCase {
    const char* input;
    const char* output;
    const char* codec;
};

class BeautyPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(BeautyPictureTest, ExportsAPictureOfItsOwnKind) {
    const PictureCase& c = GetParam();
    TempDir dir;
    std::string picture = dir.path() + "/" + c.input;
    makePicture(picture, 321, 241);
    BeautyWindowController w;
    w.setVideoPath(QString::fromStdString(picture));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(w.exportBtn->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(w.faceModelSettled(), 60000);
    EXPECT_EQ(w.faceModelLoaded(), QFile::exists("/usr/share/dlib/shape_predictor_68_face_landmarks.dat"));
    EXPECT_EQ(w.sliders[3]->isEnabled(), w.faceModelLoaded());
    EXPECT_EQ(w.noteLabel->isHidden(), w.faceModelLoaded());
    w.sliders[0]->setValue(100);
    EXPECT_EQ(w.fields[0]->value(), 100);
    w.fields[1]->setValue(40);
    EXPECT_EQ(w.sliders[1]->value(), 40);
    QSignalSpy ended(&w, &BeautyWindowController::exportEnded);
    std::string out = dir.path() + "/" + c.output;
    w.startExport(QString::fromStdString(out));
    ASSERT_TRUE(ended.wait(120000));
    auto result = ended.first().first().value<kestrel::session::JobResult>();
    ASSERT_TRUE(result.done()) << result.code;
    ProbedMedia probed = ffprobe(out);
    ASSERT_TRUE(probed.ok);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->codec, c.codec);
    EXPECT_EQ(probed.firstOf("video")->width, 320);
    EXPECT_EQ(probed.firstOf("video")->height, 240);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BeautyPictureTest,
                         ::testing::Values(PictureCase{"face.JPG", "out.jpg", "mjpeg"}, PictureCase{"face.PNG", "out.png", "png"},
                                           PictureCase{"face.bmp", "out.png", "png"}),
                         [](const auto& info) { return std::string(info.param.output) == "out.jpg" ? std::string("jpg")
                                                       : std::string(info.param.input) == "face.bmp" ? std::string("bmp")
                                                                                                      : std::string("png"); });

TEST(BeautyJob, SlimmingWithoutTheModelFailsWithACodeAndNoFile) {
    TempDir dir;
    std::string clip = dir.path() + "/clip.mp4";
    makeMedia(clip, FixtureSpec{});
    kestrel::session::SingleClipExport settings;
    settings.input = QString::fromStdString(clip);
    settings.output = QString::fromStdString(dir.path() + "/out.mp4");
    settings.start_us = 0;
    settings.end_us = 1000000;
    settings.source_width = 320;
    settings.source_height = 240;
    settings.beauty = {0, 0, 0, 50, 0};
    kestrel::session::SingleClipExportJob job(settings);
    QSignalSpy finished(&job, &kestrel::session::Job::finished);
    job.start();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(job.result().failed());
    EXPECT_EQ(job.result().code, -12);
    EXPECT_FALSE(QFile::exists(settings.output));
}

// A retouched export keeps the source's pictures and their rate: a 25 fps clip comes out at
// 25 fps, each source picture once (the pattern has no face, so nothing of it is retouched).
TEST(BeautyJob, KeepsTheSourcesFrameRate) {
    TempDir dir;
    std::string clip = dir.path() + "/clip.mp4";
    makeMedia(clip, FixtureSpec{.duration_s = 1.0, .frame_rate = "25", .audio_streams = 0});
    kestrel::session::SingleClipExport settings;
    settings.input = QString::fromStdString(clip);
    settings.output = QString::fromStdString(dir.path() + "/out.mp4");
    settings.start_us = 0;
    settings.end_us = 1000000;
    settings.source_width = 320;
    settings.source_height = 240;
    settings.beauty = {100, 40, 40, 0, 0};
    kestrel::session::SingleClipExportJob job(settings);
    QSignalSpy finished(&job, &kestrel::session::Job::finished);
    job.start();
    ASSERT_TRUE(finished.wait(120000));
    ASSERT_TRUE(job.result().done()) << job.result().code;
    const std::string out = settings.output.toStdString();
    ProbedMedia probed = ffprobe(out);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->avg_frame_rate, "25/1");
    EXPECT_TRUE(decodesCleanly(out));
    EXPECT_TRUE(showsSourceFrames(mapFrames(out, clip), 0, 25));
    EXPECT_TRUE(framesMatch(out, clip));
}

}  // namespace
