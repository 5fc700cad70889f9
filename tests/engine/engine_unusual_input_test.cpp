// Plain inputs no camera-file test covers: a JPEG photo, an MPEG-TS file, odd sizes and 4:4:4
// pictures, inputs that are not regular files. Each keeps its picture and is never reported as
// a success without one.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <chrono>
#include <future>
#include <numeric>
#include <vector>

namespace kestrel::test {
namespace {

// Average brightness of a BGRA picture (0..255); a lost picture reads as black.
double meanBrightness(const std::vector<uint8_t>& bgra) {
    double sum = 0;
    for (size_t i = 0; i < bgra.size(); i += 4) sum += (bgra[i] + bgra[i + 1] + bgra[i + 2]) / 3.0;
    return bgra.empty() ? 0 : sum / double(bgra.size() / 4);
}

double snapshotBrightness(const std::string& path, int64_t time_us) {
    void* media = MediaOpen(path.c_str());
    if (!media) return -1;
    std::vector<uint8_t> pixels(160 * 120 * 4, 0);
    const int32_t rc = MediaSnapshot(media, time_us, 160, 120, pixels.data(), 0);
    MediaClose(media);
    return rc >= 1 ? meanBrightness(pixels) : -1;
}

std::string makeTransportStream(const TempDir& dir) {
    const std::string path = dir.file("clip.ts");
    FixtureSpec spec;
    spec.duration_s = 2.0;
    spec.gop = 250;  // one key frame at the start, as short camera clips have
    makeMedia(path, spec);
    return path;
}

TEST(EngineUnusualInput, PhotoAndTransportStreamKeepTheirPicture) {
    TempDir dir;
    const std::string photo = dir.file("photo.jpg");
    makePicture(photo, 320, 240, "color=c=0x3060C0");
    const std::string ts = makeTransportStream(dir);

    EXPECT_GT(snapshotBrightness(photo, 0), 40);
    EXPECT_GT(snapshotBrightness(ts, 0), 40);
    EXPECT_GT(snapshotBrightness(ts, 1000000), 40);

    // A cut of the stream keeps its video.
    const std::string cut = dir.file("cut.mp4");
    ASSERT_GE(runConvert(ts, cut, [](void* job) { apiMediaConvertSetCutTime(job, 0, 1500000); }), 1);
    const ProbedMedia probed = ffprobe(cut, true);
    ASSERT_TRUE(probed.ok) << probed.error;
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_NEAR(probed.firstOf("video")->frames, 37, 2);

    // A photo converts into a picture of itself.
    const std::string still = dir.file("still.mp4");
    ASSERT_GE(runConvert(photo, still), 1);
    const ProbedMedia stillProbe = ffprobe(still, true);
    ASSERT_TRUE(stillProbe.ok) << stillProbe.error;
    ASSERT_NE(stillProbe.firstOf("video"), nullptr);
    EXPECT_GE(stillProbe.firstOf("video")->frames, 1);
    const std::vector<unsigned char> rgb = decodeFrameRGB(still, 0, 160, 120);
    ASSERT_FALSE(rgb.empty());
    EXPECT_TRUE(near(pixelAt(rgb, 160, 80, 60), Rgb{0x30, 0x60, 0xC0}, 12));
}

TEST(EngineUnusualInput, VideoWithoutADecodablePictureFailsInsteadOfWritingSoundOnly) {
    TempDir dir;
    FixtureSpec spec;
    spec.gop = 250;
    spec.video_codec = "libx264";
    spec.extra_args = {"-bsf:v", "filter_units=remove_types=5"};  // the only key frame is gone
    const std::string input = dir.file("no_key_frame.mkv");
    makeMedia(input, spec);
    const std::string output = dir.file("out.mp4");
    const int32_t rc = runConvert(input, output, [](void* job) { apiMediaConvertSetVcodec(job, "h264"); });
    EXPECT_LT(rc, 1);
    EXPECT_NE(rc, -1);  // failed, not stopped
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"no_key_frame.mkv"});
}

TEST(EngineUnusualInput, PictureSizeChangingMidStreamConvertsAtTheFirstSize) {
    TempDir dir;
    FixtureSpec first;
    first.duration_s = 1.0;
    FixtureSpec second = first;
    second.width = 640;
    second.height = 360;
    second.extra_args = {"-output_ts_offset", "1"};  // continues the first file's clock
    makeMedia(dir.file("a.ts"), first);
    makeMedia(dir.file("b.ts"), second);
    const std::string joined = dir.file("joined.ts");
    ASSERT_EQ(runCommand("cat '" + dir.file("a.ts") + "' '" + dir.file("b.ts") + "' > '" + joined + "'"), 0);

    const std::string output = dir.file("out.mp4");
    ASSERT_GE(runConvert(joined, output, [](void* job) { apiMediaConvertSetVcodec(job, "h264"); }), 1);
    const ProbedMedia probed = ffprobe(output, true);
    const ProbedStream* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->width, 320);
    EXPECT_EQ(video->height, 240);
    EXPECT_NEAR(video->frames, 50, 3);
}

TEST(EngineUnusualInput, PicturesEndingBeforeTheCutAreHeldSoPictureAndSoundEndTogether) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 6.0;
    spec.frame_rate = "30";
    // No pictures between 2.97 s and 6 s; the sound goes on.
    spec.extra_args = {"-vf", "select='not(between(t,2.97,6))'", "-fps_mode", "vfr"};
    const std::string input = dir.file("gap.mkv");
    makeMedia(input, spec);
    const std::string output = dir.file("cut.mp4");
    ASSERT_GE(runConvert(input, output, [](void* job) {
                  apiMediaConvertSetVcodec(job, "h264");
                  apiMediaConvertSetCutTime(job, 1000000, 5000000);
              }), 1);
    const ProbedMedia probed = ffprobe(output);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    ASSERT_NE(probed.firstOf("audio"), nullptr);
    EXPECT_NEAR(probed.firstOf("video")->duration_s, 4.0, 0.1);
    EXPECT_NEAR(probed.firstOf("audio")->duration_s, 4.0, 0.1);
}

TEST(EngineUnusualInput, RepeatedTimeStampsAreRepairedBeforeTheMuxer) {
    TempDir dir;
    FixtureSpec spec;
    spec.audio_streams = 0;
    spec.extra_args = {"-bf", "0", "-bsf:v",
                       "setts=pts=if(eq(N\\,10)\\,PREV_INPTS\\,PTS):dts=if(eq(N\\,10)\\,PREV_INDTS\\,DTS)"};
    const std::string input = dir.file("repeated.mkv");
    makeMedia(input, spec);
    struct Case { const char* name; const char* vcodec; };
    for (const Case& c : {Case{"copy.mp4", nullptr}, Case{"encode.mp4", "h264"}}) {
        SCOPED_TRACE(c.name);
        const std::string output = dir.file(c.name);
        ASSERT_GE(runConvert(input, output, [&](void* job) {
                      if (c.vcodec) apiMediaConvertSetVcodec(job, c.vcodec);
                  }), 1);
        const ProbedMedia probed = ffprobe(output, true);
        ASSERT_NE(probed.firstOf("video"), nullptr);
        EXPECT_NEAR(probed.firstOf("video")->frames, 50, 1);
    }
}

TEST(EngineUnusualInput, OddSizedAndFullChromaSourcesGivePlayableH264) {
    TempDir dir;
    struct Case { const char* pixelFormat; int width, height; };
    for (const Case& c : {Case{"yuv444p", 333, 201}, Case{"yuv420p", 334, 202}, Case{"rgb24", 320, 240}}) {
        SCOPED_TRACE(c.pixelFormat);
        const std::string input = dir.file(std::string("in_") + c.pixelFormat + ".mkv");
        FixtureSpec spec;
        spec.duration_s = 0.5;
        spec.width = c.width;
        spec.height = c.height;
        spec.pixel_format = c.pixelFormat;
        spec.video_codec = std::string(c.pixelFormat) == "rgb24" ? "libx264rgb" : "libx264";
        makeMedia(input, spec);
        const std::string output = dir.file(std::string("out_") + c.pixelFormat + ".mp4");
        ASSERT_GE(runConvert(input, output, [](void* job) { apiMediaConvertSetVcodec(job, "h264"); }), 1);
        std::string pixelFormat;
        runCommand("ffprobe -v error -select_streams v:0 -show_entries stream=pix_fmt -of csv=p=0 '" + output + "'",
                   &pixelFormat);
        EXPECT_EQ(pixelFormat.substr(0, 7), "yuv420p");
        const ProbedMedia probed = ffprobe(output);
        const ProbedStream* video = probed.firstOf("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->width % 2, 0);
        EXPECT_EQ(video->height % 2, 0);
        EXPECT_EQ(video->width, c.width & ~1);
        EXPECT_EQ(video->height, c.height & ~1);
    }
}

TEST(EngineUnusualInput, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.mp4");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("folder.mp4");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    for (const std::string& path : {fifo, folder, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        // Run off the test thread so a blocking open fails the test instead of hanging it.
        auto probe = std::async(std::launch::async, [path] {
            void* media = MediaOpen(path.c_str());
            if (media) MediaClose(media);
            void* job = apiMediaConvertCreate();
            const int32_t rc = apiMediaConvertSetInputMedia(job, path.c_str());
            apiMediaConvertClose(job);
            return std::make_pair(media != nullptr, rc);
        });
        ASSERT_EQ(probe.wait_for(std::chrono::seconds(20)), std::future_status::ready);
        const auto [opened, rc] = probe.get();
        EXPECT_FALSE(opened);
        EXPECT_LT(rc, 1);
    }
}

TEST(EngineUnusualInput, ProgressReadsFullAfterAFinishedConvert) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    void* job = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(job, dir.file("in.mp4").c_str()), 1);
    ASSERT_GE(apiMediaConvertSetOutputPath(job, dir.file("out.mp4").c_str()), 1);
    ASSERT_GE(apiMediaConvertStart(job), 1);
    EXPECT_EQ(apiMediaConvertGetProgress(job), 100);
    apiMediaConvertClose(job);
}

}  // namespace
}  // namespace kestrel::test
