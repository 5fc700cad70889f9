// Palette GIFs: the palette made from a clip's own colours, error diffusion onto it, frame
// groups in bounded memory, and whole exports checked by ffprobe and by their SSIM against the
// source.
#include "engine/editing/gif_frame_group.h"
#include "engine/editing/gif_palette.h"
#include "engine/editing/rdve.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <set>

namespace kestrel::test {
namespace {

using editing::ColourHistogram;
using editing::GifFrameGroup;
using editing::GifPalette;
using editing::PaletteQuantizer;

// A packed BGR picture whose colour at (x, y) comes from f.
template <class F>
std::vector<uint8_t> picture(int w, int h, F f) {
    std::vector<uint8_t> bgr(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            auto [r, g, b] = f(x, y);
            uint8_t* p = &bgr[(size_t(y) * w + x) * 3];
            p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r);
        }
    return bgr;
}

TEST(GifPalette, FewColoursComeBackExactlyAndTheLastEntryIsTransparent) {
    // 48 distinct colours in blocks: the palette holds each one, so nothing is dithered.
    const int w = 96, h = 64;
    auto bgr = picture(w, h, [](int x, int y) {
        int k = (x / 16) + 6 * (y / 8);
        return std::tuple{(k * 37) % 256, (k * 91) % 256, (k * 53) % 256};
    });
    ColourHistogram histogram;
    histogram.add(bgr.data(), w, h, w * 3);
    GifPalette palette = histogram.makePalette();
    EXPECT_EQ(palette.colours, 48);
    EXPECT_EQ(palette.argb[GifPalette::kTransparentIndex] >> 24, 0u);
    for (int i = 0; i < palette.colours; ++i) EXPECT_EQ(palette.argb[size_t(i)] >> 24, 0xFFu) << i;

    PaletteQuantizer quantizer(palette);
    std::vector<uint8_t> indices(size_t(w) * h);
    quantizer.quantize(bgr.data(), w, h, w * 3, indices.data(), w);
    for (int i = 0; i < w * h; ++i) {
        uint32_t c = palette.argb[indices[size_t(i)]];
        const uint8_t* p = &bgr[size_t(i) * 3];
        ASSERT_EQ(int((c >> 16) & 0xFF), p[2]) << i;
        ASSERT_EQ(int((c >> 8) & 0xFF), p[1]) << i;
        ASSERT_EQ(int(c & 0xFF), p[0]) << i;
    }
}

TEST(GifPalette, DitheredRampKeepsItsMeanAndNeverUsesTheTransparentEntry) {
    // A smooth three-channel ramp has far more colours than a palette: error diffusion keeps
    // the local mean of every region close to the source.
    const int w = 256, h = 64;
    auto bgr = picture(w, h, [](int x, int y) { return std::tuple{x, (x + 4 * y) / 2, 255 - x}; });
    ColourHistogram histogram;
    histogram.add(bgr.data(), w, h, w * 3);
    GifPalette palette = histogram.makePalette();
    EXPECT_EQ(palette.colours, GifPalette::kMaxColours);
    PaletteQuantizer quantizer(palette);
    std::vector<uint8_t> indices(size_t(w) * h);
    quantizer.quantize(bgr.data(), w, h, w * 3, indices.data(), w);
    for (int bx = 0; bx < w; bx += 16) {
        double src = 0, out = 0;
        for (int y = 16; y < 48; ++y)
            for (int x = bx; x < bx + 16; ++x) {
                src += bgr[(size_t(y) * w + x) * 3 + 1];
                uint8_t index = indices[size_t(y) * w + x];
                ASSERT_NE(index, GifPalette::kTransparentIndex);
                out += (palette.argb[index] >> 8) & 0xFF;
            }
        EXPECT_NEAR(out / 512, src / 512, 1.5) << "block at x " << bx;
    }
}

TEST(GifPalette, FramesBeyondTheBudgetGoOutInGroupsWithTheirOwnPalettes) {
    const int w = 32, h = 16;
    GifFrameGroup group(w, h, size_t(w) * h * 3 * 2);  // two frames a group
    std::vector<int64_t> seen;
    std::set<uint32_t> first_colours;
    int flushes = 0;
    auto sink = [&](const uint8_t*, const GifPalette& palette, int64_t index) {
        seen.push_back(index);
        first_colours.insert(palette.argb[0]);
        return true;
    };
    for (int64_t k = 0; k < 5; ++k) {
        int shade = int(k) * 50;
        auto bgr = picture(w, h, [&](int, int) { return std::tuple{shade, 0, 0}; });
        group.add(bgr.data(), w * 3, k);
        if (group.full()) {
            ASSERT_TRUE(group.flush(sink));
            ++flushes;
        }
    }
    ASSERT_TRUE(group.flush(sink));
    EXPECT_EQ(flushes, 2);
    EXPECT_TRUE(group.empty());
    EXPECT_EQ(seen, (std::vector<int64_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(first_colours.size(), 3u);  // one palette a group
}

// SSIM (all channels) of a GIF against the source's frames at the GIF's own frame times.
double ssimAgainst(const std::string& gif, const std::string& source, int fps, int w, int h) {
    std::string out;
    std::string graph = "[1:v]fps=" + std::to_string(fps) + ":round=up,scale=" + std::to_string(w) + ":" +
                        std::to_string(h) + ":flags=bicubic,format=gbrp[ref];[0:v]format=gbrp[out];[out][ref]ssim";
    runCommand("ffmpeg -hide_banner -nostdin -i '" + gif + "' -i '" + source + "' -lavfi '" + graph + "' -f null - 2>&1", &out);
    std::smatch m;
    return std::regex_search(out, m, std::regex("All:([0-9.]+)")) ? std::atof(m[1].str().c_str()) : -1;
}

int exportGif(const std::string& source, const std::string& out, int w, int h, float fps, int64_t from_us, int64_t to_us) {
    void* video = rdVEVirtualVideoCreate();
    rdVESetFrameSize(video, w, h);
    rdVESetFPS(video, fps);
    void* scene = rdVECreateScene(0, to_us - from_us);
    void* media = rdVESceneAddMedia(scene, source.c_str());
    rdVESetMediaCutTime(media, from_us, to_us);
    rdVEAddScene(video, scene);
    rdVESetOutPath(video, out.c_str());
    rdVESetVideoCodec(video, "GIF");
    rdVESetVideoBitrate(video, 4000);
    rdVEEditMediaInit(video);
    int rc = rdVEEditMedia(video);
    rdVEVirtualVideoDestory(video);
    return rc;
}

TEST(GifExport, ClipOfManyColoursBecomesAFaithfulPaletteGif) {
    TempDir dir;
    std::string source = dir.file("ramps.mp4");
    FixtureSpec spec;
    spec.duration_s = 3;
    spec.width = 640;
    spec.height = 360;
    spec.frame_rate = "30";
    spec.audio_streams = 0;
    spec.video_source = "gradients=s=640x360:r=30:n=5:speed=0.03";
    spec.extra_args = {"-crf", "16"};
    makeMedia(source, spec);

    std::string gif = dir.file("ramps.gif");
    ASSERT_EQ(exportGif(source, gif, 320, 180, 10.0f, 500'000, 2'500'000), 1);
    ProbedMedia probed = ffprobe(gif, true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const ProbedStream* v = probed.firstOf("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->codec, "gif");
    EXPECT_EQ(v->width, 320);
    EXPECT_EQ(v->height, 180);
    EXPECT_EQ(v->frames, 20);
    EXPECT_EQ(v->avg_frame_rate, "10/1");
    EXPECT_NEAR(probed.duration_s, 2.0, 0.11);

    // The same range cut out of the source is the reference.
    std::string cut = dir.file("cut.mp4");
    ASSERT_EQ(runCommand("ffmpeg -v error -nostdin -y -ss 0.5 -i '" + source + "' -t 2 -c:v libx264 -crf 10 '" + cut + "'"), 0);
    double ssim = ssimAgainst(gif, cut, 10, 320, 180);
    EXPECT_GE(ssim, 0.95) << "a fixed 256-colour palette scores far lower here";
}

}  // namespace
}  // namespace kestrel::test
