// Damaged inputs in the editing engine's export: a file whose container opens but whose pictures
// no decoder can read is refused, as convert refuses it, instead of being written as a black
// video that reports success. The same export of the intact file is the source, frame for frame.
#include "engine/editing/rdve.h"
#include "engine/mediacore/media_core.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

using namespace kestrel::test;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The offset of a box's type in an ISO media file, -1 when absent.
size_t boxAt(const std::string& bytes, const char* type) {
    const size_t at = bytes.find(type);
    return at == std::string::npos ? std::string::npos : at;
}

// Every byte of the media data replaced by noise: the boxes still say where each picture is.
std::string noiseForMediaData(std::string bytes) {
    const size_t at = boxAt(bytes, "mdat");
    if (at == std::string::npos || at < 4) return {};
    const uint32_t size = (uint32_t(uint8_t(bytes[at - 4])) << 24) | (uint32_t(uint8_t(bytes[at - 3])) << 16) |
                          (uint32_t(uint8_t(bytes[at - 2])) << 8) | uint32_t(uint8_t(bytes[at - 1]));
    std::mt19937 noise(7);
    for (size_t i = at + 4; i < at - 4 + size && i < bytes.size(); ++i) bytes[i] = char(noise() & 0xFF);
    return bytes;
}

// The decoder set-up (sequence and picture parameters) of the H.264 stream overwritten.
std::string brokenDecoderSetup(std::string bytes) {
    const size_t at = boxAt(bytes, "avcC");
    if (at == std::string::npos) return {};
    for (size_t i = at + 4 + 4; i < at + 4 + 30 && i < bytes.size(); ++i) bytes[i] = char(0);
    return bytes;
}

struct DamageCase {
    const char* name;
    std::function<std::string(std::string)> damage;
};

class DamagedInput : public ::testing::TestWithParam<DamageCase> {};

// The export of one media filling the frame, as the beauty and 3D tools build it.
int32_t exportOf(const std::string& input, const std::string& output) {
    void* video = rdVEVirtualVideoCreate();
    rdVESetFrameSize(video, 320, 240);
    rdVESetFPS(video, 25);
    void* scene = rdVECreateScene(0, 2000000);
    void* media = rdVESceneAddMedia(scene, input.c_str());
    if (!media) {
        rdVEVirtualVideoDestory(video);
        return 0;
    }
    rdVESetMediaDisplayMode(media, 0);
    rdVEAddScene(video, scene);
    rdVESetOutPath(video, output.c_str());
    rdVESetVideoCodec(video, "mp4");
    rdVESetVideoBitrate(video, 8000);
    rdVEEditMediaInit(video);
    const int32_t rc = rdVEEditMedia(video);
    rdVEVirtualVideoDestory(video);
    return rc;
}

int32_t reverseOf(const std::string& input, const std::string& output) {
    void* job = rdVEMediaReverseCreate();
    int32_t rc = rdVEMediaReverseSetInputFile(job, input.c_str());
    if (rc == 1) rc = rdVEMediaReverseSetOutputPath(job, output.c_str());
    if (rc == 1) rc = rdVEMediaReverseEncode(job);
    rdVEMediaReverseClose(job);
    return rc;
}

// A convert that draws its pictures anew, as the editing engine does.
int32_t convertOf(const std::string& input, const std::string& output) {
    void* job = apiMediaConvertCreate();
    int32_t rc = apiMediaConvertSetInputMedia(job, input.c_str());
    if (rc >= 1) rc = apiMediaConvertSetVcodec(job, "h264");
    if (rc >= 1) rc = apiMediaConvertSetOutputPath(job, output.c_str());
    if (rc >= 1) rc = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    return rc;
}

TEST_P(DamagedInput, IsRefusedAndNothingIsWritten) {
    TempDir dir;
    FixtureSpec spec;
    spec.duration_s = 2.0;
    const std::string intact = dir.file("intact.mp4");
    makeMedia(intact, spec);
    const std::string damaged_bytes = GetParam().damage(readAll(intact));
    ASSERT_FALSE(damaged_bytes.empty());
    const std::string damaged = dir.file("damaged.mp4");
    writeBytes(damaged, damaged_bytes);
    // The oracle's word that no picture of it can be read, though its container opens.
    DecodedFrames frames(damaged, "gray");
    EXPECT_EQ(frames.countToEnd(), 0) << "the fixture still has readable pictures";

    // The intact file goes through the same export unchanged.
    const std::string good = dir.file("good.mp4");
    ASSERT_EQ(exportOf(intact, good), 1);
    EXPECT_TRUE(decodesCleanly(good));
    EXPECT_TRUE(framesMatch(good, framesOf(intact, 0, 50)));

    const std::string out = dir.file("out.mp4");
    const int32_t rc = exportOf(damaged, out);
    EXPECT_NE(rc, 1) << "a video of no picture was reported as written";
    EXPECT_FALSE(std::filesystem::exists(out));
    const std::string reversed = dir.file("reversed.mp4");
    EXPECT_NE(reverseOf(damaged, reversed), 1) << "a reversal of no picture was reported as written";
    EXPECT_FALSE(std::filesystem::exists(reversed));
    // Convert refuses the same file, and the two say the same.
    const int32_t converted = convertOf(damaged, dir.file("converted.mp4"));
    EXPECT_LT(converted, 1);
    if (rc != 0) EXPECT_EQ(rc, converted);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind(".kestrel-", 0), 0u) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(NoPictureReadable, DamagedInput,
                         ::testing::Values(DamageCase{"MediaDataNoise", noiseForMediaData},
                                           DamageCase{"DecoderSetupGone", brokenDecoderSetup}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
