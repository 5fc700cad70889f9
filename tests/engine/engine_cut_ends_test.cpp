// Keep-original cuts of sources whose pictures refer to each other across the cut points:
// H.264 with B-frames in closed and in open groups of pictures, and HEVC with open groups in 8
// and 10 bits, each in MP4 and in Matroska. Whatever range is asked, the cut decodes without a
// complaint and holds exactly the source frames shown from its start to its end, each one the
// source's own picture; a group of pictures wholly inside the range keeps the source's packets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/packet_hashes.h"
#include "tests/support/temp_dir.h"

namespace kt = kestrel::test;

namespace {

constexpr int kFps = 25;

struct Source {
    const char* name;
    const char* codec;
    std::vector<std::string> params;  // encoder options: B-frames and the kind of group
    const char* pixel_format = "yuv420p";
    // Whether copying may resume at a key frame after a head coded again: open groups of H.264
    // have no IDR picture past the first, so a range starting inside one is coded again whole.
    bool key_frames_start_afresh = true;
};

// Key frames every 20 frames (0.8 s): 0, 0.8, 1.6, 2.4, 3.2 s.
const Source kSources[] = {
    {"h264-closed", "libx264", {"-x264-params", "bframes=3:keyint=20:min-keyint=20:scenecut=0"}},
    {"h264-open", "libx264", {"-x264-params", "open-gop=1:bframes=3:b-pyramid=normal:keyint=20:min-keyint=20:scenecut=0"}, "yuv420p",
     false},
    {"hevc-open", "libx265",
     {"-preset", "ultrafast", "-x265-params", "log-level=none:bframes=3:keyint=20:min-keyint=20:scenecut=0:open-gop=1"}},
    {"hevc-main10-open", "libx265",
     {"-preset", "ultrafast", "-profile:v", "main10", "-x265-params",
      "log-level=none:bframes=3:keyint=20:min-keyint=20:scenecut=0:open-gop=1"},
     "yuv420p10le"},
};

struct Range {
    const char* name;
    double start_s, end_s;
    // A whole group of pictures lies inside: the packets after its key frame are the source's.
    bool holds_a_group = false;
};

// Packets of the source's group from 1.6 s that a cut must copy as they are: its pictures
// shown after its key frame (the key frame carries the parameter sets again, the pictures shown
// before it are coded again with the head).
constexpr int kCopiedOfAGroup = 12;

std::string makeSource(const kt::TempDir& dir, const Source& source, const std::string& extension) {
    kt::FixtureSpec spec;
    spec.duration_s = 4;
    spec.video_codec = source.codec;
    spec.extra_args = source.params;
    spec.pixel_format = source.pixel_format;
    const std::string path = dir.file(std::string(source.name) + "." + extension);
    kt::makeMedia(path, spec);
    return path;
}

}  // namespace

// The end of a range inside a group of pictures: the last frames refer to pictures shown after
// the end, so those references must still be in the file or the tail must be coded again.
TEST(EngineCutEnds, EveryFrameOfTheRangeIsTheSourcesOwnAndNoneIsMissing) {
    const Range ranges[] = {
        {"start on a key frame, end inside a group", 0.8, 2.3},
        {"from the first frame, end inside a group", 0.0, 1.3},
        {"start and end inside groups", 0.9, 2.3},
        {"start inside a group, to the end", 1.0, 4.0, true},
        {"end just past a key frame", 0.8, 2.45},
        {"start and end inside groups, a whole group between", 0.9, 3.05, true},
    };
    kt::TempDir dir;
    for (const Source& source : kSources) {
        for (const char* extension : {"mp4", "mkv"}) {
            const std::string src = makeSource(dir, source, extension);
            const std::vector<double> times = kt::videoFrameTimes(src);
            ASSERT_EQ(int(times.size()), 4 * kFps) << src;
            const QSet<QString> source_packets = kt::videoPacketHashes(src);
            int n = 0;
            for (const Range& range : ranges) {
                SCOPED_TRACE(std::string(source.name) + "." + extension + ": " + range.name);
                const std::string out = dir.file(std::string(source.name) + "_cut" + std::to_string(n++) + "." + extension);
                const int64_t start_us = std::llround(range.start_s * 1e6), end_us = std::llround(range.end_s * 1e6);
                ASSERT_GE(kt::runConvert(src, out, [&](void* job) { apiMediaConvertSetCutTime(job, start_us, end_us); }), 1);
                // The frames shown from the start to the end: Matroska files made with AAC sound
                // show their first picture a little after the file's start.
                const auto [first, end] = kt::framesInRange(times, range.start_s, range.end_s);
                EXPECT_TRUE(kt::decodesCleanly(out));
                EXPECT_TRUE(kt::showsSourceFrames(kt::mapFrames(out, src), first, end));
                kt::CompareOptions exact;
                exact.min_psnr_db = 40;
                EXPECT_TRUE(kt::framesMatch(out, kt::framesOf(src, first, end), exact));
                if (range.holds_a_group && source.key_frames_start_afresh) {
                    const QSet<QString> copied = kt::videoPacketHashes(out).intersect(source_packets);
                    EXPECT_GE(copied.size(), kCopiedOfAGroup);
                }
            }
        }
    }
}
