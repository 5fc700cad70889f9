// Ranges of one file joined into MP4 with no codec given (the cutters' merged and remove-mode exports):
// each range is cut as a keep-original cut does, so the pictures between its key frames are the
// source's own packets, and the joined file shows exactly the frames of the ranges, in order,
// with no frame of what lies between them, decodes cleanly and sounds throughout. A join that
// asks for a codec codes every picture again.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/mediacore/media_join.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/packet_hashes.h"
#include "tests/support/temp_dir.h"

namespace kt = kestrel::test;

namespace {

struct Range {
    double start_s, end_s;
};

int32_t joinRanges(const std::string& source, const std::vector<Range>& ranges, const std::string& out,
                   const char* video_codec) {
    void* job = apiMediaJoinCreate();
    for (const Range& r : ranges)
        if (apiMediaJoinAddMediaClip(job, source.c_str(), std::llround(r.start_s * 1e6), std::llround(r.end_s * 1e6)) < 1)
            return 0;
    if (video_codec) apiMediaJoinSetVideoCodec(job, video_codec);
    apiMediaJoinSetOutputPath(job, out.c_str());
    const int32_t result = apiMediaJoinStart(job);
    apiMediaJoinClose(job);
    return result;
}

struct Source {
    const char* name;
    const char* codec;
    std::vector<std::string> params;
};

}  // namespace

TEST(EngineKeptJoin, RangesKeepTheSourcesPacketsAndShowExactlyTheirFrames) {
    // Key frames every 0.8 s; every range starts and ends between them.
    const std::vector<Range> ranges = {{0.5, 1.9}, {2.3, 3.5}, {4.1, 5.7}};
    const Source sources[] = {
        {"h264.mp4", "libx264", {"-x264-params", "bframes=3:keyint=20:min-keyint=20:scenecut=0"}},
        {"hevc.mp4", "libx265", {"-preset", "ultrafast", "-x265-params", "log-level=none:bframes=3:keyint=20:min-keyint=20:scenecut=0"}},
    };
    kt::TempDir dir;
    for (const Source& s : sources) {
        SCOPED_TRACE(s.name);
        kt::FixtureSpec spec;
        spec.duration_s = 6;
        spec.video_codec = s.codec;
        spec.extra_args = s.params;
        const std::string src = dir.file(std::string("source_") + s.name);
        kt::makeMedia(src, spec);
        const std::vector<double> times = kt::videoFrameTimes(src);
        std::vector<int> expected;
        double length_s = 0;
        for (const Range& r : ranges) {
            const auto [first, end] = kt::framesInRange(times, r.start_s, r.end_s);
            for (int f = first; f < end; ++f) expected.push_back(f);
            length_s += r.end_s - r.start_s;
        }
        const QSet<QString> source_packets = kt::videoPacketHashes(src);

        const std::string kept = dir.file(std::string("kept_") + s.name);
        ASSERT_GE(joinRanges(src, ranges, kept, nullptr), 1);
        EXPECT_TRUE(kt::decodesCleanly(kept));
        EXPECT_TRUE(kt::showsSourceSequence(kt::mapFrames(kept, src), expected));
        kt::CompareOptions exact;
        exact.min_psnr_db = 40;
        EXPECT_TRUE(kt::soundThroughout(kt::soundLevels(kept), 0.0, length_s - 0.1));
        // Each range holds at least the pictures after one key frame, copied as they are.
        EXPECT_GE(kt::videoPacketHashes(kept).intersect(source_packets).size(), 3 * 12);
        // Every frame is the source's own picture.
        int at = 0;
        for (const Range& r : ranges) {
            const auto [first, end] = kt::framesInRange(times, r.start_s, r.end_s);
            EXPECT_TRUE(kt::framesMatch(kt::framesOf(kept, at, at + end - first), kt::framesOf(src, first, end), exact));
            at += end - first;
        }

        // A codec asked for: every picture coded again.
        const std::string coded = dir.file(std::string("coded_") + s.name);
        ASSERT_GE(joinRanges(src, ranges, coded, s.codec), 1);
        EXPECT_TRUE(kt::decodesCleanly(coded));
        EXPECT_EQ(kt::videoPacketHashes(coded).intersect(source_packets).size(), 0);
    }
}
