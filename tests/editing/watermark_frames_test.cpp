// Convert jobs at a set frame rate with a watermark laid over the picture: a still picture, a
// drawn text and a video shorter and longer than the clip. Every source frame must come out
// once, in order, and each must be the frame the ffmpeg command line makes laying the same
// thing over the clip.
#include "engine/mediacore/media_core.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

using namespace kestrel::test;

namespace {

constexpr int kClipW = 320, kClipH = 240, kClipFrames = 50;  // 2 s at 25 fps

// The watermark's box in the clip's pixels.
constexpr int kLeft = 40, kTop = 30, kRight = 160, kBottom = 120;

// Draws an opaque red block (BGRA 00 00 FF FF) over x 100..199 and rows 160..199 of the frame,
// as the application's text drawing would cover it.
void drawRedBlock(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord) {
    for (int row = 160; row < 200 && row < height; ++row) {
        for (int x = 100; x < 200 && x < width; ++x) {
            uint8_t* p = buffer + (size_t(row) * width + x) * 4;
            p[0] = 0x00;
            p[1] = 0x00;
            p[2] = 0xFF;
            p[3] = 0xFF;
        }
    }
}

struct WatermarkCase {
    const char* name;
    std::function<void(void* job, const TempDir& dir)> add;  // puts the watermark on the job
    std::vector<std::string> reference_inputs;                 // further ffmpeg inputs, as dir files
    std::string reference_graph;                               // input 0 is the clip
};

std::string boxedLayer(const char* eof_action) {
    return "[1:v]scale=" + std::to_string(kRight - kLeft) + ":" + std::to_string(kBottom - kTop) +
           ",format=rgba[layer];[0:v][layer]overlay=x=" + std::to_string(kLeft) + ":y=" + std::to_string(kTop) +
           ":eof_action=" + eof_action;
}

void addPicture(void* job, const TempDir& dir) {
    ImageWatermarkRecord record{};
    std::strcpy(record.path, dir.file("mark.png").c_str());
    record.left = kLeft, record.top = kTop, record.right = kRight, record.bottom = kBottom;
    record.start_us = 0;
    record.end_us = 2000000;
    ASSERT_GE(apiMediaConvertAddImageWatermask(job, record), 1);
}

void addText(void* job, const TempDir&) {
    apiMediaConvertSetDrawTextCallback(drawRedBlock);
    TextWatermarkRecord record{};
    std::strcpy(record.text, "Kestrel");
    record.x = 100;
    record.y = 40;
    record.right = 200;
    record.font_size = 30;
    record.colour = 0xFF000000u;
    record.start_us = 0;
    record.end_us = 2000000;
    ASSERT_GE(apiMediaConvertAddTextWatermask(job, record), 1);
}

void addVideo(void* job, const TempDir& dir, const std::string& file, int64_t length_us) {
    VideoWatermarkRecord record{};
    std::strcpy(record.path, dir.file(file).c_str());
    record.left = kLeft, record.top = kTop, record.right = kRight, record.bottom = kBottom;
    record.start_us = 0;
    record.end_us = 2000000;
    record.file_start_us = 0;
    record.file_end_us = length_us;
    ASSERT_GE(apiMediaConvertAddVideoWatermark(job, record), 1);
}

std::string barsClip(const TempDir& dir, const std::string& name, double duration_s) {
    FixtureSpec spec;
    spec.duration_s = duration_s;
    spec.width = 160;
    spec.height = 120;
    spec.video_source = "smptebars";
    spec.audio_streams = 0;
    makeMedia(dir.file(name), spec);
    return name;
}

}  // namespace

TEST(EditingWatermarkFrames, EverySourceFrameComesOutOnceUnderTheWatermark) {
    TempDir dir;
    FixtureSpec clip_spec;
    clip_spec.width = kClipW;
    clip_spec.height = kClipH;
    clip_spec.audio_streams = 0;
    const std::string clip = dir.file("clip.mp4");
    makeMedia(clip, clip_spec);
    makePicture(dir.file("mark.png"), 80, 60);
    const std::string short_bars = barsClip(dir, "bars_1s.mp4", 1.0);
    const std::string long_bars = barsClip(dir, "bars_3s.mp4", 3.0);

    const WatermarkCase cases[] = {
        {"picture", addPicture, {"mark.png"}, boxedLayer("repeat")},
        {"text", addText, {}, "[0:v]drawbox=x=100:y=160:w=100:h=40:color=red:t=fill"},
        {"video_shorter_than_the_clip",
         [&](void* job, const TempDir& d) { addVideo(job, d, short_bars, 1000000); },
         {short_bars},
         boxedLayer("pass")},
        {"video_longer_than_the_clip",
         [&](void* job, const TempDir& d) { addVideo(job, d, long_bars, 3000000); },
         {long_bars},
         boxedLayer("pass")},
    };
    for (const WatermarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = dir.file(std::string(c.name) + ".mp4");
        void* job = apiMediaConvertCreate();
        ASSERT_NE(job, nullptr);
        ASSERT_GE(apiMediaConvertSetInputMedia(job, clip.c_str()), 1);
        ASSERT_GE(apiMediaConvertSetVideoFps(job, 25), 1);
        c.add(job, dir);
        ASSERT_GE(apiMediaConvertSetOutputPath(job, out.c_str()), 1);
        const int32_t rc = apiMediaConvertStart(job);
        apiMediaConvertClose(job);
        ASSERT_GE(rc, 1);

        std::vector<std::string> args = {"-i", clip};
        for (const std::string& input : c.reference_inputs) {
            args.push_back("-i");
            args.push_back(dir.file(input));
        }
        args.push_back("-filter_complex");
        args.push_back(c.reference_graph);
        const std::string reference = makeReference(dir, std::string(c.name) + "_reference", args);

        EXPECT_TRUE(decodesCleanly(out));
        EXPECT_TRUE(showsSourceFrames(mapFrames(out, reference), 0, kClipFrames));
        EXPECT_TRUE(framesMatch(out, reference));
    }
}
