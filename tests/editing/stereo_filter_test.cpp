// The 3D filter stage: each packing exported from a still colour-bar clip, its size and rate
// read by ffprobe and its pictures compared with the packing worked out from the source.
#include "engine/editing/rdve.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>

using namespace kestrel::test;

namespace {

constexpr int kW = 320, kH = 240;
constexpr double kShift = 0.05;   // 16 pixels of 320

std::string writeConfig(const TempDir& dir, const std::string& packing, double shift = kShift) {
    std::string path = dir.path() + "/" + packing + ".json";
    std::ofstream(path) << "{\"kind\": \"stereo3d\", \"second_view\": \"shift\", \"shift\": " << shift
                        << ", \"packing\": \"" << packing << "\"}";
    return path;
}

// Exports the clip through a filter the way the converter does: source size, 30 fps, display mode 3.
int32_t exportWithFilter(const std::string& clip, const std::string& config, const std::string& out, int64_t length_us) {
    void* video = rdVEVirtualVideoCreate();
    EXPECT_EQ(rdVESetFrameSize(video, kW, kH), 1);
    void* scene = rdVECreateScene(0, length_us);
    void* media = rdVESceneAddMedia(scene, clip.c_str());
    EXPECT_NE(media, nullptr);
    EXPECT_EQ(rdVESetMediaTimeLine(media, 0, length_us), 1);
    EXPECT_EQ(rdVESetMediaDisplayMode(media, 3), 1);
    EXPECT_EQ(rdVEAddScene(video, scene), 1);
    EXPECT_EQ(rdVESetOutPath(video, out.c_str()), 1);
    EXPECT_EQ(rdVESetVideoCodec(video, "mp4"), 1);
    EXPECT_EQ(rdVESetFPS(video, 30.0f), 1);
    EXPECT_NE(rdVEAddFilter(video, config.c_str(), 0, length_us), nullptr);
    EXPECT_EQ(rdVEEditMediaInit(video), 1);
    int32_t rc = rdVEEditMedia(video);
    rdVEVirtualVideoDestory(video);
    return rc;
}

using Rgb = std::vector<unsigned char>;

// Pixel (x, y) of view 0 (the source) or view 1 (the source moved right, left edge repeated).
const unsigned char* viewPixel(const Rgb& src, int view, int x, int y, int shift) {
    int sx = view == 0 ? x : std::max(0, x - shift);
    return &src[(static_cast<size_t>(y) * kW + sx) * 3];
}

// The packed picture worked out here, independently of the engine.
Rgb expectedPacking(const std::string& packing, const Rgb& src, int shift, int view_shown, int* w, int* h) {
    *w = packing == "LeftRight" ? kW * 2 : kW;
    *h = packing == "TopBottom" ? kH * 2 : kH;
    Rgb out(static_cast<size_t>(*w) * *h * 3);
    for (int y = 0; y < *h; ++y)
        for (int x = 0; x < *w; ++x) {
            unsigned char* d = &out[(static_cast<size_t>(y) * *w + x) * 3];
            auto put = [&](int view, int sx, int sy) {
                const unsigned char* p = viewPixel(src, view, sx, sy, shift);
                d[0] = p[0], d[1] = p[1], d[2] = p[2];
            };
            if (packing == "RedBlue") {
                d[0] = viewPixel(src, 0, x, y, shift)[0];
                d[1] = viewPixel(src, 1, x, y, shift)[1];
                d[2] = viewPixel(src, 1, x, y, shift)[2];
            } else if (packing == "LeftRight") {
                put(x < kW ? 0 : 1, x % kW, y);
            } else if (packing == "HalfLeftRight") {
                put(x < kW / 2 ? 0 : 1, (x % (kW / 2)) * 2, y);
            } else if (packing == "TopBottom") {
                put(y < kH ? 0 : 1, x, y % kH);
            } else if (packing == "HalfTopBottom") {
                put(y < kH / 2 ? 0 : 1, x, (y % (kH / 2)) * 2);
            } else {
                put(view_shown, x, y);
            }
        }
    return out;
}

struct PackingCase {
    const char* packing;
    int width, height;
    const char* rate;
};

class StereoPackingTest : public ::testing::TestWithParam<PackingCase> {};

TEST_P(StereoPackingTest, SizeRateAndPicturesMatchThePacking) {
    const PackingCase& c = GetParam();
    TempDir dir;
    std::string clip = dir.path() + "/bars.mp4";
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.width = kW;
    spec.height = kH;
    spec.frame_rate = "30";
    spec.video_source = "smptebars";
    makeMedia(clip, spec);
    std::string out = dir.path() + "/out.mp4";
    ASSERT_EQ(exportWithFilter(clip, writeConfig(dir, c.packing), out, 1000000), 1);

    ProbedMedia probed = ffprobe(out, true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const ProbedStream* v = probed.firstOf("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->width, c.width);
    EXPECT_EQ(v->height, c.height);
    EXPECT_EQ(v->avg_frame_rate, c.rate);
    bool sequence = std::string(c.packing) == "FrameSequence";
    EXPECT_NEAR(v->frames, sequence ? 60 : 30, 1);

    Rgb source = decodeFrameRGB(clip, 0.5, kW, kH);
    ASSERT_EQ(source.size(), size_t(kW) * kH * 3);
    const int shift = static_cast<int>(std::lround(kShift * kW));
    int w = 0, h = 0;
    if (!sequence) {
        Rgb got = decodeFrameRGB(out, 0.5, 0, 0);
        Rgb expected = expectedPacking(c.packing, source, shift, 0, &w, &h);
        Rgb unshifted = expectedPacking(c.packing, source, 0, 0, &w, &h);
        ASSERT_EQ(got.size(), expected.size());
        double to_expected = meanAbsDiff(got, expected);
        EXPECT_LT(to_expected, 6.0) << c.packing;
        // The second view is really moved: packing the source twice would not match.
        EXPECT_GT(meanAbsDiff(got, unshifted), to_expected + 3.0) << c.packing;
        return;
    }
    // Alternating views: of two neighbouring frames one shows each view.
    Rgb first_view = expectedPacking(c.packing, source, shift, 0, &w, &h);
    Rgb second_view = expectedPacking(c.packing, source, shift, 1, &w, &h);
    ASSERT_GT(meanAbsDiff(first_view, second_view), 10.0);
    Rgb a = decodeFrameRGB(out, 30.5 / 60.0, 0, 0), b = decodeFrameRGB(out, 31.5 / 60.0, 0, 0);
    ASSERT_EQ(a.size(), first_view.size());
    ASSERT_EQ(b.size(), first_view.size());
    bool in_order = meanAbsDiff(a, first_view) < 6.0 && meanAbsDiff(b, second_view) < 6.0;
    bool swapped = meanAbsDiff(a, second_view) < 6.0 && meanAbsDiff(b, first_view) < 6.0;
    EXPECT_TRUE(in_order || swapped) << meanAbsDiff(a, first_view) << " " << meanAbsDiff(b, second_view);
}

INSTANTIATE_TEST_SUITE_P(AllPackings, StereoPackingTest,
                         ::testing::Values(PackingCase{"RedBlue", kW, kH, "30/1"}, PackingCase{"LeftRight", kW * 2, kH, "30/1"},
                                           PackingCase{"HalfLeftRight", kW, kH, "30/1"},
                                           PackingCase{"TopBottom", kW, kH * 2, "30/1"},
                                           PackingCase{"HalfTopBottom", kW, kH, "30/1"},
                                           PackingCase{"FrameSequence", kW, kH, "60/1"}),
                         [](const auto& info) { return std::string(info.param.packing); });

TEST(StereoFilter, BadConfigurationsAddNoFilterAndDeleteWorks) {
    TempDir dir;
    void* video = rdVEVirtualVideoCreate();
    ASSERT_EQ(rdVESetFrameSize(video, kW, kH), 1);
    EXPECT_EQ(rdVEAddFilter(video, (dir.path() + "/missing.json").c_str(), 0, 1000000), nullptr);
    std::string wrong = dir.path() + "/wrong.json";
    std::ofstream(wrong) << "{\"packing\": \"Sideways\"}";
    EXPECT_EQ(rdVEAddFilter(video, wrong.c_str(), 0, 1000000), nullptr);
    EXPECT_EQ(rdVEAddFilter(video, writeConfig(dir, "RedBlue", 0.9).c_str(), 0, 1000000), nullptr);
    EXPECT_EQ(rdVEAddFilter(video, nullptr, 0, 1000000), nullptr);
    EXPECT_EQ(rdVEAddFilter(nullptr, writeConfig(dir, "RedBlue").c_str(), 0, 1000000), nullptr);
    void* filter = rdVEAddFilter(video, writeConfig(dir, "RedBlue").c_str(), 0, 1000000);
    ASSERT_NE(filter, nullptr);
    // A filter alone has no length of its own.
    EXPECT_EQ(rdVEGetTotalPlaybackTime(video), 0);
    EXPECT_EQ(rdVEDeleteScene(filter), 1);
    EXPECT_LT(rdVEDeleteScene(filter), 0);
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
}

}  // namespace
