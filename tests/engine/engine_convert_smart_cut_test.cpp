// Keep-original cuts of H.264 between key frames: only the frames from the cut start to the next
// key frame and from the last key frame to the cut end are encoded again; every packet between
// them is the source's own. The result holds exactly the frames of the range, decodes without an
// error and its time stamps run on without a gap.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "engine/mediacore/media_core.h"
#include "tests/engine/engine_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

namespace {

struct PacketInfo {
    double pts_s = 0;
    std::string hash;
    bool key = false;
};

// The video packets of a file in decoding order: time shown, checksum, key flag.
std::vector<PacketInfo> videoPackets(const std::string& path) {
    std::string out;
    kestrel::test::runCommand("ffprobe -v error -select_streams v:0 -show_entries packet=pts_time,flags,data_hash -show_data_hash md5 -of csv=p=0 '" +
                                  path + "' 2>/dev/null",
                              &out);
    std::vector<PacketInfo> packets;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string pts, flags, hash;
        std::getline(fields, pts, ',');
        std::getline(fields, flags, ',');
        std::getline(fields, hash, ',');
        if (pts.empty() || pts == "N/A") continue;
        packets.push_back({std::stod(pts), hash, flags.find('K') != std::string::npos});
    }
    return packets;
}

std::string decodeErrors(const std::string& path) {
    std::string out;
    kestrel::test::runCommand("ffmpeg -v error -i '" + path + "' -f null - 2>&1", &out);
    return out;
}

struct Case {
    const char* name;
    int64_t start_us, end_us;
    int frames;  // at 25 fps
};

}  // namespace

TEST(EngineSmartCut, CopiesBetweenKeyFramesAndEncodesOnlyTheEnds) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 12;
    spec.gop = 50;  // key frames at 0, 2, 4, ... s
    const std::string source = dir.file("source.mp4");
    kestrel::test::makeMedia(source, spec);
    const std::vector<PacketInfo> sourcePackets = videoPackets(source);
    std::map<std::string, double> sourceHashes;
    for (const PacketInfo& p : sourcePackets) sourceHashes[p.hash] = p.pts_s;

    for (const Case& c : {Case{"both ends off key frames", 2'300'000, 9'700'000, 185},
                          Case{"start off, end on a key frame", 1'100'000, 8'000'000, 172},
                          Case{"start on, end off a key frame", 4'000'000, 7'500'000, 88},
                          Case{"start off, to the end of the file", 5'500'000, 12'000'000, 162}}) {
        SCOPED_TRACE(c.name);
        const std::string out = dir.file(std::string("cut_") + std::to_string(c.start_us) + ".mp4");
        ASSERT_GE(kestrel::test::runConvert(source, out, [&](void* job) { apiMediaConvertSetCutTime(job, c.start_us, c.end_us); }), 1);
        const auto probed = kestrel::test::ffprobe(out, true);
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_EQ(probed.firstOf("video")->codec, "h264");
        EXPECT_EQ(probed.firstOf("video")->frames, c.frames);
        EXPECT_EQ(decodeErrors(out), "");

        // The first frame is the source's at the cut start.
        const auto first = kestrel::test::decodeFrameRGB(out, 0, 160, 120);
        const auto want = kestrel::test::decodeFrameRGB(source, double(c.start_us) / 1e6, 160, 120);
        EXPECT_LT(kestrel::test::meanAbsDiff(first, want), 6.0);

        // Packets between the first and the last key frame of the range are the source's own,
        // shifted by the cut start; frames are shown every 40 ms without a gap.
        const std::vector<PacketInfo> packets = videoPackets(out);
        int copied = 0;
        std::vector<double> shown;
        for (const PacketInfo& p : packets) {
            shown.push_back(p.pts_s);
            const auto it = sourceHashes.find(p.hash);
            if (it == sourceHashes.end()) continue;
            ++copied;
            EXPECT_NEAR(it->second - double(c.start_us) / 1e6, p.pts_s, 0.002);
        }
        EXPECT_GT(copied, c.frames / 2);
        std::sort(shown.begin(), shown.end());
        for (size_t i = 1; i < shown.size(); ++i) EXPECT_NEAR(shown[i] - shown[i - 1], 0.04, 0.002) << i;
    }
}
