// Reversed pictures keep the source's timing mirrored: every source frame once, in reverse
// order, each shown as long as the source showed it, for a source whose pictures are held for
// different lengths and for MPEG-TS, whose demuxer lands before the point it is asked to seek to.
#include "engine/editing/rdve.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace kestrel::test;

namespace {

// How long each picture of the file is shown (s), in presentation order; the last one lasts to
// the end of its stream.
std::vector<double> pictureLengths(const std::string& path) {
    std::string text, end_text;
    runCommand("ffprobe -v error -select_streams v:0 -show_entries frame=pts_time -of csv=p=0 '" + path + "'", &text);
    runCommand("ffprobe -v error -select_streams v:0 -show_entries stream=start_time,duration -of csv=p=0 '" + path + "'",
               &end_text);
    std::vector<double> times;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line != "N/A") times.push_back(std::atof(line.c_str()));
    std::sort(times.begin(), times.end());
    double start = 0, duration = 0;
    std::sscanf(end_text.c_str(), "%lf,%lf", &start, &duration);
    std::vector<double> lengths;
    for (size_t i = 0; i < times.size(); ++i) lengths.push_back((i + 1 < times.size() ? times[i + 1] : start + duration) - times[i]);
    return lengths;
}

int reverse(const std::string& input, const std::string& output) {
    void* job = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(job, input.c_str());
    rdVEMediaReverseSetOutputPath(job, output.c_str());
    rdVEMediaReverseSetAudioMode(job, 2);
    const int rc = rdVEMediaReverseEncode(job);
    rdVEMediaReverseClose(job);
    return rc;
}

struct TimingCase {
    const char* name;
    const char* extension;
    double duration_s;
    std::vector<std::string> video_args;
};

}  // namespace

TEST(EditingReverse, EverySourceFrameOnceBackwardsWithItsHoldMirrored) {
    const TimingCase cases[] = {
        // 18 of every 25 pictures kept: the 18th is held 320 ms.
        {"variable rate", "mp4", 6.0, {"-vf", "select='lt(mod(n\\,25)\\,18)'", "-fps_mode", "vfr"}},
        {"MPEG-TS", "ts", 4.8, {}},
    };
    TempDir dir;
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.name);
        FixtureSpec spec;
        spec.duration_s = c.duration_s;
        spec.gop = 25;
        spec.extra_args = c.video_args;
        const std::string source = dir.file(std::string("source.") + c.extension);
        makeMedia(source, spec);
        const std::string out = dir.file(std::string("reversed_") + c.extension + ".mp4");
        ASSERT_EQ(reverse(source, out), 1);

        const std::vector<double> in = pictureLengths(source), got = pictureLengths(out);
        const int frames = int(in.size());
        std::vector<int> backwards(static_cast<size_t>(frames));
        for (int k = 0; k < frames; ++k) backwards[size_t(k)] = frames - 1 - k;
        EXPECT_TRUE(decodesCleanly(out));
        EXPECT_TRUE(showsSourceSequence(mapFrames(out, source), backwards));
        ASSERT_EQ(got.size(), in.size());
        // Output picture k is shown as long as source picture N-1-k was (the last one of each
        // side to the end of its stream, within a frame).
        for (int k = 0; k + 1 < frames; ++k)
            EXPECT_NEAR(got[size_t(k + 1)], in[size_t(frames - 2 - k)], 0.002) << "output picture " << k + 1;
        // The reversed picture lasts as long as the source file plays (its last picture is held
        // until its sound ends: reversed, that hold comes first).
        std::string length_text;
        runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + source + "'", &length_text);
        double out_total = 0;
        for (double l : got) out_total += l;
        EXPECT_NEAR(out_total, std::atof(length_text.c_str()), 0.041);
    }
}
