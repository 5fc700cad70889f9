// Probe: stream records, durations and snapshots through the C interface.
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kestrel::test {
namespace {

int32_t readInt(const void* record, size_t offset) {
    int32_t value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, 4);
    return value;
}

double readDouble(const void* record, size_t offset) {
    double value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, 8);
    return value;
}

std::string readText(const void* record, size_t offset) { return static_cast<const char*>(record) + offset; }

TEST(EngineProbe, RecordsCarryTheFieldsAtTheirByteOffsets) {
    TempDir dir;
    FixtureSpec spec;
    spec.frame_rate = "30000/1001";
    spec.audio_streams = 2;
    spec.sample_rate = 48000;
    makeMedia(dir.file("in.mp4"), spec);

    void* job = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(job, dir.file("in.mp4").c_str()), 1);
    int32_t count = -1;
    ASSERT_GE(apiMediaConvertGetAudioStreamInfo(job, &count, nullptr), 1);
    ASSERT_EQ(count, 2);
    std::vector<unsigned char> audio(600 * count, 0);
    ASSERT_GE(apiMediaConvertGetAudioStreamInfo(job, &count, reinterpret_cast<MediaAudioInfo*>(audio.data())), 1);
    for (int i = 0; i < count; ++i) {
        const unsigned char* rec = audio.data() + 600 * i;
        EXPECT_EQ(readInt(rec, 0), 1);
        EXPECT_EQ(readInt(rec, 4), i + 1);  // stream 0 is the video
        EXPECT_EQ(readText(rec, 8), "aac");
        EXPECT_EQ(readInt(rec, 136), 48000);
        EXPECT_EQ(readInt(rec, 140), 2);
        EXPECT_GT(readInt(rec, 144), 1000);  // bit/s, not kbit/s
    }

    ASSERT_GE(apiMediaConvertGetVideoStreamInfo(job, &count, nullptr), 1);
    ASSERT_EQ(count, 1);
    std::vector<unsigned char> video(624, 0);
    ASSERT_GE(apiMediaConvertGetVideoStreamInfo(job, &count, reinterpret_cast<MediaVideoInfo*>(video.data())), 1);
    EXPECT_EQ(readInt(video.data(), 0), 1);
    EXPECT_EQ(readInt(video.data(), 4), 0);
    EXPECT_EQ(readText(video.data(), 8), "h264");
    EXPECT_EQ(readText(video.data(), 72), "avc1");
    EXPECT_EQ(readInt(video.data(), 136), 320);
    EXPECT_EQ(readInt(video.data(), 140), 240);
    EXPECT_NEAR(readDouble(video.data(), 144), 30000.0 / 1001.0, 1e-6);
    EXPECT_NEAR(readDouble(video.data(), 160), 4.0 / 3.0, 1e-6);
    EXPECT_EQ(readInt(video.data(), 168), 0);
    EXPECT_EQ(readText(video.data(), 556), "4:3");
    int64_t duration = apiMediaConvertGetDuration(job);
    EXPECT_NEAR(duration / 1e6, 2.0, 0.1);
    EXPECT_GE(apiMediaConvertClose(job), 1);
}

TEST(EngineProbe, RotatedSourceReportsDisplaySizeAndUprightSnapshot) {
    TempDir dir;
    makeQuadrantVideo(dir.file("plain.mp4"));
    // The same pictures with a display matrix; the ffmpeg tool shows them turned.
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -y -i '" + dir.file("plain.mp4") +
                         "' -c copy -metadata:s:v:0 rotate=90 '" + dir.file("rotated.mp4") + "'"), 0);
    ProbedMedia probed = ffprobe(dir.file("rotated.mp4"));
    ASSERT_TRUE(probed.ok);
    int counter_clockwise = probed.firstOf("video")->rotation;
    ASSERT_TRUE(counter_clockwise == 90 || counter_clockwise == -90 || counter_clockwise == 270);

    void* media = MediaOpen(dir.file("rotated.mp4").c_str());
    ASSERT_NE(media, nullptr);
    MediaVideoInfo info{};
    ASSERT_GE(MediaGetInfo(media, nullptr, &info), 0);
    EXPECT_EQ(info.exist, 1);
    EXPECT_EQ(info.width, 240);
    EXPECT_EQ(info.height, 320);
    EXPECT_EQ(info.rotation, ((360 - counter_clockwise) % 360 + 360) % 360);

    // The snapshot is upright exactly as the ffmpeg tool shows the file.
    const int w = 120, h = 160;
    std::vector<uint8_t> bgra(w * h * 4, 0);
    ASSERT_GE(MediaSnapshot(media, 0, w, h, bgra.data(), 0), 1);
    std::vector<unsigned char> ours(w * h * 3);
    for (int i = 0; i < w * h; ++i) {
        ours[i * 3] = bgra[i * 4 + 2];
        ours[i * 3 + 1] = bgra[i * 4 + 1];
        ours[i * 3 + 2] = bgra[i * 4];
    }
    std::vector<unsigned char> oracle = decodeFrameRGB(dir.file("rotated.mp4"), 0, w, h);
    ASSERT_EQ(oracle.size(), ours.size());
    EXPECT_LT(meanAbsDiff(ours, oracle), 8.0);
    EXPECT_FALSE(near(pixelAt(ours, w, w / 4, h / 4), pixelAt(ours, w, 3 * w / 4, h / 4)));  // really four colours
    EXPECT_EQ(bgra[3], 255);
    EXPECT_GE(MediaClose(media), 1);
}

TEST(EngineProbe, SnapshotOfASolidSourceIsItsColourAtAnyTime) {
    TempDir dir;
    makeColourVideo(dir.file("red.mp4"), "red", 1.0, false);
    void* media = MediaOpen(dir.file("red.mp4").c_str());
    ASSERT_NE(media, nullptr);
    for (int64_t time_us : {int64_t(0), int64_t(500000), int64_t(60000000)}) {  // the last is past the end
        std::vector<uint8_t> bgra(64 * 36 * 4, 0);
        ASSERT_GE(MediaSnapshot(media, time_us, 64, 36, bgra.data(), 0), 1) << time_us;
        for (size_t i = 0; i < bgra.size(); i += 4) {
            ASSERT_LE(bgra[i], 30);       // blue
            ASSERT_LE(bgra[i + 1], 30);   // green
            ASSERT_GE(bgra[i + 2], 225);  // red
            ASSERT_EQ(bgra[i + 3], 255);
        }
    }
    EXPECT_NEAR(MediaGetDuration(media) / 1e6, 1.0, 0.1);
    MediaClose(media);
}

TEST(EngineProbe, AudioOnlyFileHasNoVideoRecord) {
    TempDir dir;
    FixtureSpec spec;
    spec.width = 0;
    makeMedia(dir.file("tone.m4a"), spec);
    void* media = MediaOpen(dir.file("tone.m4a").c_str());
    ASSERT_NE(media, nullptr);
    MediaAudioInfo audio{};
    MediaVideoInfo video{};
    ASSERT_GE(MediaGetInfo(media, &audio, &video), 0);
    EXPECT_EQ(video.exist, 0);
    EXPECT_EQ(audio.exist, 1);
    EXPECT_EQ(audio.sample_rate, 44100);
    std::vector<uint8_t> bgra(16 * 16 * 4);
    EXPECT_LT(MediaSnapshot(media, 0, 16, 16, bgra.data(), 0), 0);
    MediaClose(media);

    void* job = apiMediaConvertCreate();
    ASSERT_GE(apiMediaConvertSetInputMedia(job, dir.file("tone.m4a").c_str()), 1);
    int32_t count = -1;
    EXPECT_GE(apiMediaConvertGetVideoStreamInfo(job, &count, nullptr), 1);
    EXPECT_EQ(count, 0);
    apiMediaConvertClose(job);
}

TEST(EngineProbe, NullAndClosedHandlesFail) {
    EXPECT_EQ(MediaOpen(nullptr), nullptr);
    EXPECT_LT(MediaGetInfo(nullptr, nullptr, nullptr), 0);
    EXPECT_LT(MediaClose(nullptr), 0);
    void* job = apiMediaConvertCreate();
    ASSERT_NE(job, nullptr);
    EXPECT_GE(apiMediaConvertClose(job), 1);
    EXPECT_LT(apiMediaConvertClose(job), 1);
    EXPECT_LT(apiMediaConvertStop(job), 1);
    EXPECT_LT(apiMediaConvertGetProgress(job), 0);
    EXPECT_LT(apiMediaConvertStart(nullptr), 1);
    EXPECT_LT(apiMediaConvertSetCutTime(job, 0, 1), 1);
    int32_t count = 0;
    EXPECT_LT(apiMediaConvertGetAudioStreamInfo(nullptr, &count, nullptr), 1);
}

}  // namespace
}  // namespace kestrel::test
