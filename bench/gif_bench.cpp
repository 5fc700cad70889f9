// A palette GIF through the editing engine against ffmpeg's two-pass palettegen/paletteuse:
// 10 s of 720p to a 640x360 10 fps GIF. Both sides are timed whole (the command line's two
// passes together); the picture quality of each output is its SSIM against the source scaled the
// same way, and its size is printed beside it.
//
// Usage: bench_gif [--repeat N] [--dir FOLDER]
#include "bench/common_bench.h"
#include "engine/editing/rdve.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

namespace fs = std::filesystem;
using namespace kestrel::bench;

namespace {

constexpr int kWidth = 640, kHeight = 360;
constexpr float kFps = 10.0f;
constexpr int64_t kDurationUs = 10'000'000;

bool engineGif(const std::string& input, const std::string& output) {
    void* video = rdVEVirtualVideoCreate();
    rdVESetFrameSize(video, kWidth, kHeight);
    rdVESetFPS(video, kFps);
    void* scene = rdVECreateScene(0, kDurationUs);
    void* media = rdVESceneAddMedia(scene, input.c_str());
    if (!media) return false;
    rdVESetMediaCutTime(media, 0, kDurationUs);
    rdVEAddScene(video, scene);
    rdVESetOutPath(video, output.c_str());
    rdVESetVideoCodec(video, "GIF");
    rdVESetVideoBitrate(video, 4000);
    rdVEEditMediaInit(video);
    int rc = rdVEEditMedia(video);
    rdVEVirtualVideoDestory(video);
    if (rc != 1) std::fprintf(stderr, "engine gif failed: %d\n", rc);
    return rc == 1;
}

bool cliGif(const std::string& input, const std::string& palette, const std::string& output) {
    const std::string chain = "fps=10:round=up,scale=640:360:flags=bicubic";
    std::string pass1 = "ffmpeg -v error -y -i " + shellQuote(input) + " -vf " + shellQuote(chain + ",palettegen") +
                        " " + shellQuote(palette);
    std::string pass2 = "ffmpeg -v error -y -i " + shellQuote(input) + " -i " + shellQuote(palette) + " -lavfi " +
                        shellQuote(chain + "[x];[x][1:v]paletteuse") + " " + shellQuote(output);
    return runShell(pass1) == 0 && runShell(pass2) == 0;
}

// SSIM (all channels) of a GIF against the source at the GIF's rate and size; -1 when unknown.
double ssimAgainstSource(const std::string& gif, const std::string& source) {
    std::string output;
    std::string graph = "[1:v]fps=10:round=up,scale=640:360:flags=bicubic,format=gbrp[ref];[0:v]format=gbrp[out];[out][ref]ssim";
    runShell("ffmpeg -hide_banner -i " + shellQuote(gif) + " -i " + shellQuote(source) + " -lavfi " + shellQuote(graph) +
                 " -f null - 2>&1",
             &output);
    std::smatch m;
    if (std::regex_search(output, m, std::regex("All:([0-9.]+)"))) return std::atof(m[1].str().c_str());
    return -1;
}

double sizeKb(const std::string& path) {
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    return ec ? -1 : double(size) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = (fs::temp_directory_path() / "kestrel-bench").string();
    int repeats = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--dir" && i + 1 < argc) dir = argv[++i];
        else if (arg == "--repeat" && i + 1 < argc) repeats = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [--repeat N] [--dir FOLDER]\n", argv[0]);
            return 1;
        }
    }
    fs::create_directories(dir);

    // Moving colour gradients with a test pattern over them: smooth ramps and hard edges, far
    // more colours than a GIF holds.
    std::string input = dir + "/gif_source_720p.mp4";
    ensureMedia(input, "-f lavfi -i gradients=s=1280x720:r=30:d=10:n=5:speed=0.02 "
                       "-f lavfi -i testsrc2=s=480x270:r=30:d=10 "
                       "-filter_complex [0:v][1:v]overlay=400:225 -c:v libx264 -preset veryfast -crf 18 "
                       "-g 60 -pix_fmt yuv420p -an");
    std::string engine_out = dir + "/gif10s_engine.gif";
    std::string cli_out = dir + "/gif10s_cli.gif";
    std::string palette = dir + "/gif10s_palette.png";

    Timing engine_t, cli_t;
    timeAlternating(
        repeats,
        [&] { return timeOnce([&] { fs::remove(engine_out); }, [&] { return engineGif(input, engine_out); }, false, "gif10s engine"); },
        [&] {
            return timeOnce([&] { fs::remove(cli_out), fs::remove(palette); }, [&] { return cliGif(input, palette, cli_out); },
                            true, "gif10s cli");
        },
        &engine_t, &cli_t);
    compareDurations("gif10s", engine_out, cli_out, 0.15);
    std::fprintf(stderr, "gif10s engine_cpu_s=%.3f cli_cpu_s=%.3f\n", engine_t.cpu_s, cli_t.cpu_s);
    std::printf("job=gif10s engine_s=%.3f cli_s=%.3f ratio=%.3f ssim=%.4f size_kb=%.0f cli_ssim=%.4f cli_size_kb=%.0f\n",
                engine_t.wall_s, cli_t.wall_s, cli_t.wall_s > 0 ? engine_t.wall_s / cli_t.wall_s : 0.0,
                ssimAgainstSource(engine_out, input), sizeKb(engine_out), ssimAgainstSource(cli_out, input),
                sizeKb(cli_out));
    return 0;
}
