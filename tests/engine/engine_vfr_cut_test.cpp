// Cuts of a source whose pictures are held for different lengths (variable frame rate): the
// frames of the range are the source's, each once, and the picture lasts as long as the sound,
// also when the cut ends while a picture is held, whether the picture is copied, partly coded
// again or coded again whole.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

namespace kt = kestrel::test;

namespace {

// Where a stream of the file ends, by ffprobe: its start plus its duration, in seconds.
double streamEndS(const std::string& path, const char* type) {
    std::string out;
    kt::runCommand(std::string("ffprobe -v error -select_streams ") + type +
                       ":0 -show_entries stream=start_time,duration -of csv=p=0 '" + path + "'",
                   &out);
    double start = 0, duration = 0;
    if (std::sscanf(out.c_str(), "%lf,%lf", &start, &duration) != 2) return -1;
    return start + duration;
}

struct VfrCut {
    const char* name;
    double start_s, end_s;
    std::function<void(void*)> configure;  // beyond the cut time
};

}  // namespace

TEST(EngineVfrCut, PictureAndSoundEndTogetherAndEveryFrameIsTheSources) {
    kt::TempDir dir;
    // 25 pictures a second of which the first 18 are kept: the 18th is held 320 ms. Key frames
    // every 50 pictures (about 2.8 s).
    kt::FixtureSpec spec;
    spec.duration_s = 6;
    spec.gop = 50;
    spec.extra_args = {"-vf", "select='lt(mod(n\\,25)\\,18)'", "-fps_mode", "vfr"};
    const std::string source = dir.file("vfr.mp4");
    kt::makeMedia(source, spec);
    const std::vector<double> times = kt::videoFrameTimes(source);
    ASSERT_EQ(times.size(), 6u * 18u);

    const VfrCut cuts[] = {
        // Ends while the picture shown from 2.68 s is held (until 3.0 s).
        {"copied", 0.0, 2.9, nullptr},
        {"partly coded again", 0.5, 2.9, nullptr},
        {"coded again whole", 0.5, 2.9, [](void* job) { apiMediaConvertSetForceEncode(job, 1); }},
        {"coded again, ending right after a held picture starts", 0.3, 4.75,
         [](void* job) { apiMediaConvertSetForceEncode(job, 1); }},
    };
    int n = 0;
    for (const VfrCut& cut : cuts) {
        SCOPED_TRACE(cut.name);
        const std::string out = dir.file("cut" + std::to_string(n++) + ".mp4");
        ASSERT_GE(kt::runConvert(source, out,
                                 [&](void* job) {
                                     apiMediaConvertSetCutTime(job, std::llround(cut.start_s * 1e6), std::llround(cut.end_s * 1e6));
                                     if (cut.configure) cut.configure(job);
                                 }),
                  1);
        EXPECT_TRUE(kt::decodesCleanly(out));
        const auto [first, end] = kt::framesInRange(times, cut.start_s, cut.end_s);
        EXPECT_TRUE(kt::showsSourceFrames(kt::mapFrames(out, source), first, end));
        // The picture lasts to the end of the range, as the sound does (within a frame).
        const double length_s = cut.end_s - cut.start_s;
        const double picture_end_s = streamEndS(out, "v"), sound_end_s = streamEndS(out, "a");
        EXPECT_NEAR(picture_end_s, length_s, 0.04);
        EXPECT_NEAR(sound_end_s, picture_end_s, 0.04);
        EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(out), 0.0, length_s - 0.05));
    }
}
