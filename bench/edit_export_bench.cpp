#include "bench/edit_export_bench.h"

#include "bench/common_bench.h"
#include "bench/reverse_split_usage.h"
#include "engine/mediacore/media_core.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace kestrel::bench {

namespace {

constexpr int kFrameW = 1920, kFrameH = 1080;
constexpr int kCropX = 160, kCropY = 90;            // from every side: 1600x900 left
constexpr int kMarkW = 480, kMarkH = 80;
constexpr int kMarkLeft = 200, kMarkTop = 150;       // in the uncropped frame: (40,60) in the cropped one
constexpr int kSubtitlePx = 40;
constexpr int64_t kDurationUs = 60'000'000;

// The watermark's straight RGBA pixels, read by the draw-text callback (a plain C function).
std::vector<uint8_t> g_mark_rgba;

// Draws the watermark as the application's text drawing does: premultiplied BGRA, its bottom-left
// corner at (x, y up from the bottom).
void drawMark(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord record) {
    const int top = height - record.y - kMarkH;
    for (int row = 0; row < kMarkH; ++row) {
        const int y = top + row;
        if (y < 0 || y >= height) continue;
        for (int col = 0; col < kMarkW && record.x + col < width; ++col) {
            const uint8_t* s = g_mark_rgba.data() + (size_t(row) * kMarkW + col) * 4;
            uint8_t* d = buffer + (size_t(y) * width + record.x + col) * 4;
            const int a = s[3];
            d[0] = uint8_t((s[2] * a + 127) / 255);
            d[1] = uint8_t((s[1] * a + 127) / 255);
            d[2] = uint8_t((s[0] * a + 127) / 255);
            d[3] = uint8_t(a);
        }
    }
}

bool engineExport(const std::string& source, const std::string& music, const std::string& captions,
                  const std::string& output) {
    apiMediaConvertSetDrawTextCallback(drawMark);
    void* job = apiMediaConvertCreate();
    if (!job || apiMediaConvertSetInputMedia(job, source.c_str()) < 1) return false;
    apiMediaConvertSetVcodec(job, "libx264");
    apiMediaConvertSetVideoBitrate(job, 8000);
    apiMediaConvertSetAcodec(job, "aac");
    apiMediaConvertSetAudioBitrate(job, 128);
    apiMediaConvertSetCropSize(job, MediaRect{kCropX, kCropY, kCropX, kCropY});
    TextWatermarkRecord text{};
    std::snprintf(text.text, sizeof text.text, "Kestrel");
    text.x = kMarkLeft;
    text.y = kFrameH - kMarkTop - kMarkH;
    text.right = kMarkLeft + kMarkW;
    text.font_size = 64;
    text.colour = 0xFFFFFF00u;
    SubtitleRecord subtitle{};
    std::snprintf(subtitle.path, sizeof subtitle.path, "%s", captions.c_str());
    subtitle.position = -1;
    subtitle.font_size = kSubtitlePx;
    subtitle.shadow = 1;
    subtitle.colour = subtitle.shadow_colour = 0xFFFFFF00u;
    if (apiMediaConvertAddTextWatermask(job, text) < 1 || apiMediaConvertSetSubtitle(job, subtitle) < 1 ||
        apiMediaConvertAddDubbingMusic(job, music.c_str(), 0, 0, 0, kDurationUs, 0, 0, 1.0) < 1 ||
        apiMediaConvertSetOutputPath(job, output.c_str()) < 1)
        return false;
    const int result = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    if (result < 1) std::fprintf(stderr, "engine export failed: %d\n", result);
    return result >= 1;
}

void writeCaptions(const std::string& path) {
    if (fs::exists(path)) return;
    std::ofstream out(path + ".part", std::ios::binary);
    for (int i = 0; i < 30; ++i) {  // one line shown every other second
        out << i + 1 << "\n00:00:" << (i * 2 < 10 ? "0" : "") << i * 2 << ",000 --> 00:00:" << (i * 2 < 10 ? "0" : "")
            << i * 2 << ",900\nCaption number " << i + 1 << ", said in the editor\n\n";
    }
    out.close();
    fs::rename(path + ".part", path);
}

}  // namespace

bool runEditExport60(const std::string& dir, int repeats) {
    const std::string source = dir + "/edit60_1080p.mp4";
    const std::string music = dir + "/edit60_music.m4a";
    const std::string mark_png = dir + "/edit60_mark.png";
    const std::string mark_raw = dir + "/edit60_mark.rgba";
    const std::string captions = dir + "/edit60_captions.srt";
    ensureMedia(source, "-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=60 -f lavfi -i "
                        "sine=frequency=440:sample_rate=48000:duration=60 -ac 2 -c:v libx264 -preset veryfast -g 60 "
                        "-pix_fmt yuv420p -c:a aac -b:a 128k -shortest");
    ensureMedia(music, "-f lavfi -i sine=frequency=523:sample_rate=48000:duration=60 -ac 2 -c:a aac -b:a 128k -f mp4");
    // Semi-transparent white text with soft edges on nothing.
    ensureMedia(mark_png, "-f lavfi -i color=c=0x00000000:s=" + std::to_string(kMarkW) + "x" + std::to_string(kMarkH) +
                              ",format=rgba,drawtext=fontfile=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf:"
                              "text=Kestrel:fontsize=64:fontcolor=white@0.7:x=12:y=6 -frames:v 1 -c:v png -f image2");
    ensureMedia(mark_raw, "-i " + shellQuote(mark_png) + " -f rawvideo -pix_fmt rgba");
    writeCaptions(captions);
    std::ifstream raw(mark_raw, std::ios::binary);
    g_mark_rgba.assign(std::istreambuf_iterator<char>(raw), std::istreambuf_iterator<char>());
    if (g_mark_rgba.size() != size_t(kMarkW) * kMarkH * 4 || g_mark_rgba[3] != 0) {
        std::fprintf(stderr, "editexport60: the watermark picture is not %dx%d with a transparent ground\n", kMarkW, kMarkH);
        return false;
    }

    // The same work in the command line's fastest form: the picture converted once to the
    // video's own format, blended and subtitled on YUV, the music mixed at full level.
    const std::string fontsize = std::to_string(std::lround(kSubtitlePx * 288.0 / (kFrameH - 2 * kCropY)));
    const std::string graph =
        "[0:v]crop=" + std::to_string(kFrameW - 2 * kCropX) + ":" + std::to_string(kFrameH - 2 * kCropY) + ":" +
        std::to_string(kCropX) + ":" + std::to_string(kCropY) + "[c];[1:v]format=yuva420p[m];[c][m]overlay=" +
        std::to_string(kMarkLeft - kCropX) + ":" + std::to_string(kMarkTop - kCropY) +
        ":format=yuv420,subtitles=filename=" + captions + ":force_style='Fontsize=" + fontsize +
        ",Shadow=1,PrimaryColour=&H00FFFFFF,BackColour=&H00FFFFFF'[v];"
        "[0:a][2:a]amix=inputs=2:duration=first:normalize=0[a]";
    const std::string engine_out = dir + "/editexport60-engine.mp4";
    const std::string cli_out = dir + "/editexport60-cli.mp4";
    const std::vector<std::string> command = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error",
                                              "-i", source, "-i", mark_png, "-i", music,
                                              "-filter_complex", graph, "-map", "[v]", "-map", "[a]",
                                              "-c:v", "libx264", "-preset", "medium", "-b:v", "8000k",
                                              "-c:a", "aac", "-b:a", "128k", cli_out};
    ChildUsage engine, cli;
    const bool ok = bestOfAlternating(
        repeats,
        [&] {
            removeOutput(engine_out);
            return runForked([&] { return engineExport(source, music, captions, engine_out); });
        },
        [&] {
            removeOutput(cli_out);
            return runProgram(command);
        },
        &engine, &cli);
    if (!ok) {
        std::fprintf(stderr, "editexport60: a run failed\n");
        return false;
    }
    printUsageLine("editexport60", engine, cli);
    compareDurations("editexport60", engine_out, cli_out, 0.1);
    return true;
}

}  // namespace kestrel::bench
