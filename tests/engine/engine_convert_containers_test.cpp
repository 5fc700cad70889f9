// Convert jobs into particular containers: sound file types from video sources, codecs the
// containers hold, display rotation on copied and re-encoded video, FFmpeg's log level.
#include "engine/core/ff_log.h"
#include "engine/core/media_output.h"
#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/log.h>
}

namespace kestrel::test {
namespace {

struct SoundTypeCase {
    const char* extension;
    const char* codec_asked;  // "" keeps the source's where the type allows
    const char* expected_codec;
};

TEST(EngineConvertContainers, SoundTypesFromAVideoSourceHoldOnlySound) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));  // H.264 + AAC, 2 s
    const SoundTypeCase cases[] = {
        {"mp3", "", "mp3"},    {"m4a", "", "aac"},   {"m4r", "", "aac"},   {"aac", "", "aac"},
        {"wav", "", "pcm_s16le"}, {"flac", "", "flac"}, {"ogg", "", "vorbis"}, {"oga", "", "flac"},
        {"opus", "", "opus"},  {"wma", "", "wmav2"}, {"ac3", "", "ac3"},   {"mp2", "", "mp2"},
        {"mp3", "mp3", "mp3"}, {"wav", "pcm_s16le", "pcm_s16le"}, {"m4a", "aac", "aac"}, {"ogg", "vorbis", "vorbis"},
    };
    int n = 0;
    for (const SoundTypeCase& c : cases) {
        SCOPED_TRACE(std::string(c.extension) + " asked '" + c.codec_asked + "'");
        const std::string out = dir.file("out" + std::to_string(n++) + "." + c.extension);
        ASSERT_GE(runConvert(dir.file("in.mp4"), out, [&](void* job) {
            if (*c.codec_asked) apiMediaConvertSetAcodec(job, c.codec_asked);
        }), 1);
        ProbedMedia probed = ffprobe(out);
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_EQ(probed.streams.size(), 1u);
        EXPECT_EQ(probed.countOf("video"), 0);
        ASSERT_EQ(probed.countOf("audio"), 1);
        EXPECT_EQ(probed.firstOf("audio")->codec, c.expected_codec);
        EXPECT_NEAR(probed.duration_s, 2.0, 0.15);
    }
}

TEST(EngineConvertContainers, SoundTypeRefusesACodecItsPlayersDoNotExpect) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    EXPECT_EQ(runConvert(dir.file("in.mp4"), dir.file("out.wav"), [](void* job) { apiMediaConvertSetAcodec(job, "aac"); }),
              -5);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"in.mp4"}));
}

TEST(EngineConvertContainers, AudioOnlyTypesAreKnownByTheWholeExtension) {
    using engine::MediaOutput;
    TempDir dir;
    for (const char* name : {"a.mp3", "a.M4A", "a.wav", "a.ogg", "a.opus", "a.wma", "a.ac3"}) {
        auto output = MediaOutput::open(dir.file("w"), name);
        ASSERT_TRUE(output) << name;
        EXPECT_TRUE(output->audioOnly()) << name;
    }
    // Video-capable containers keep the picture.
    for (const char* name : {"a.mka", "a.mp4", "a.mkv", "a.wmv", "a.ogv", "a.mp3.mp4"}) {
        auto output = MediaOutput::open(dir.file("w"), name);
        ASSERT_TRUE(output) << name;
        EXPECT_FALSE(output->audioOnly()) << name;
    }
}

TEST(EngineConvertContainers, ContainersAcceptTheCodecsProfilesPutInThem) {
    using engine::MediaOutput;
    struct Pair {
        const char* extension;
        const char* video;
        const char* audio;
    };
    const Pair pairs[] = {
        {"mp4", "h264", "aac"},  {"mp4", "hevc", "aac"},  {"mkv", "h264", "aac"},        {"mov", "h264", "aac"},
        {"webm", "vp9", "opus"}, {"avi", "mpeg4", "mp3"}, {"wmv", "wmv2", "wmav2"},      {"flv", "flv1", "mp3"},
        {"flv", "flv1", "aac"},  {"mpg", "mpeg2video", "mp2"}, {"ts", "mpeg2video", "mp2"}, {"ts", "h264", "aac"},
    };
    TempDir dir;
    for (const Pair& p : pairs) {
        SCOPED_TRACE(std::string(p.extension) + " " + p.video + "/" + p.audio);
        auto output = MediaOutput::open(dir.file("w"), std::string("a.") + p.extension);
        ASSERT_TRUE(output);
        EXPECT_TRUE(output->accepts(avcodec_descriptor_get_by_name(p.video)->id));
        EXPECT_TRUE(output->accepts(avcodec_descriptor_get_by_name(p.audio)->id));
    }
    // What a container cannot hold is still refused.
    EXPECT_FALSE(MediaOutput::open(dir.file("w"), "a.webm")->accepts(AV_CODEC_ID_H264));
    EXPECT_FALSE(MediaOutput::open(dir.file("w"), "a.mpg")->accepts(AV_CODEC_ID_VP9));
    EXPECT_FALSE(MediaOutput::open(dir.file("w"), "a.flv")->accepts(AV_CODEC_ID_VORBIS));
}

TEST(EngineConvertContainers, MpegProgramAndTransportStreamsWriteMpeg2) {
    TempDir dir;
    makeMedia(dir.file("in.mp4"));
    for (const char* name : {"out.mpg", "out.ts"}) {
        SCOPED_TRACE(name);
        ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file(name), [](void* job) {
            apiMediaConvertSetVcodec(job, "mpeg2video");
            apiMediaConvertSetAcodec(job, "mp2");
        }), 1);
        ProbedMedia probed = ffprobe(dir.file(name));
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_EQ(probed.firstOf("video")->codec, "mpeg2video");
        EXPECT_EQ(probed.firstOf("audio")->codec, "mp2");
        EXPECT_NEAR(probed.duration_s, 2.0, 0.15);
    }
}

TEST(EngineConvertContainers, CopiedVideoKeepsTheDisplayRotationAndReencodedVideoTurnsOnlyAsAsked) {
    TempDir dir;
    FixtureSpec spec;
    spec.rotation_deg = 90;
    makeMedia(dir.file("in.mp4"), spec);
    ProbedMedia source = ffprobe(dir.file("in.mp4"));
    ASSERT_TRUE(source.ok);
    const int source_rotation = source.firstOf("video")->rotation;
    ASSERT_NE(source_rotation, 0) << "the fixture carries no rotation tag";
    // ffmpeg shows the tagged source turned: 240x320.
    const auto shown = decodeFrameRGB(dir.file("in.mp4"), 0.5, 0, 0);
    ASSERT_EQ(shown.size(), size_t(240 * 320 * 3));

    // Keep original, nothing changed: copied, and the tag travels with the untouched pictures
    // (into the containers that can store it).
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("copy.mov")), 1);
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("copy.mp4")), 1);
    for (const char* name : {"copy.mov", "copy.mp4"}) {
        SCOPED_TRACE(name);
        ProbedMedia copy = ffprobe(dir.file(name));
        ASSERT_TRUE(copy.ok);
        EXPECT_EQ(copy.firstOf("video")->rotation, source_rotation);
        EXPECT_EQ(meanAbsDiff(decodeFrameRGB(dir.file(name), 0.5, 0, 0), shown), 0.0);
    }

    // Re-encoded with the source's own turn given (clockwise): turned pixels, no tag, seen as before.
    const int clockwise = ((-source_rotation) % 360 + 360) % 360;
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("turned.mp4"), [&](void* job) {
        apiMediaConvertSetRotateAngle(job, clockwise);
    }), 1);
    ProbedMedia turned = ffprobe(dir.file("turned.mp4"));
    ASSERT_TRUE(turned.ok);
    EXPECT_EQ(turned.firstOf("video")->rotation, 0);
    EXPECT_EQ(turned.firstOf("video")->width, 240);
    EXPECT_EQ(turned.firstOf("video")->height, 320);
    EXPECT_LT(meanAbsDiff(decodeFrameRGB(dir.file("turned.mp4"), 0.5, 0, 0), shown), 6.0);

    // Re-encoded with no angle: the stored pixels as they are, and no tag.
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("plain.mp4"), [](void* job) { apiMediaConvertSetVcodec(job, "h264"); }),
              1);
    ProbedMedia plain = ffprobe(dir.file("plain.mp4"));
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.firstOf("video")->rotation, 0);
    EXPECT_EQ(plain.firstOf("video")->width, 320);
    EXPECT_EQ(plain.firstOf("video")->height, 240);
}

TEST(EngineConvertContainers, FfmpegLogsErrorsOnlyUnlessAskedForMore) {
    EXPECT_EQ(engine::ffmpegLogLevelFor(nullptr), AV_LOG_ERROR);
    EXPECT_EQ(engine::ffmpegLogLevelFor(""), AV_LOG_ERROR);
    const int before = av_log_get_level();
    EXPECT_EQ(engine::ffmpegLogLevelFor("1"), before);
    if (std::getenv("KESTREL_FFMPEG_LOG")) GTEST_SKIP() << "KESTREL_FFMPEG_LOG is set";
    TempDir dir;
    makeMedia(dir.file("in.mp4"), {.duration_s = 0.5});
    ASSERT_GE(runConvert(dir.file("in.mp4"), dir.file("out.mkv")), 1);
    EXPECT_EQ(av_log_get_level(), AV_LOG_ERROR);
}

}  // namespace
}  // namespace kestrel::test
