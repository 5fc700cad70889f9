// A 2x2 split-screen export through the editing engine against ffmpeg's xstack, both in child
// processes so that each one's peak memory is its own.
//
// Usage: bench_split [--dir FOLDER] [--repeat N] [--only split2x2]
#include "bench/common_bench.h"
#include "bench/reverse_split_usage.h"
#include "engine/editing/rdve.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace kestrel::bench;

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kFps = 25;
constexpr int64_t kDurationUs = 10'000'000;
constexpr int kVideoKbps = 8000;
constexpr int kAudioKbps = 128;

bool engineSplit(const std::vector<std::string>& inputs, const std::string& output) {
    void* video = rdVEVirtualVideoCreate();
    rdVESetFrameSize(video, kWidth, kHeight);
    rdVESetFPS(video, kFps);
    const SLIDE_RECT cells[4] = {{0, 0, 0.5f, 0.5f}, {0.5f, 0, 1, 0.5f}, {0, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        void* scene = rdVECreateScene(0, kDurationUs);
        void* media = rdVESceneAddMedia(scene, inputs[i].c_str());
        if (!media) return false;
        rdVESetMediaDisplayMode(media, 3);
        rdVESetMediaShowRect(media, cells[i]);
        rdVEAddScene(video, scene);
    }
    rdVESetOutPath(video, output.c_str());
    rdVESetVideoCodec(video, "mp4");
    rdVESetVideoBitrate(video, kVideoKbps);
    rdVESetAudioBitrate(video, kAudioKbps);
    rdVEEditMediaInit(video);
    int rc = rdVEEditMedia(video);
    rdVEVirtualVideoDestory(video);
    if (rc != 1) std::fprintf(stderr, "engine split failed: %d\n", rc);
    return rc == 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = (fs::temp_directory_path() / "kestrel-bench").string();
    int repeats = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--dir" && i + 1 < argc) dir = argv[++i];
        else if (arg == "--repeat" && i + 1 < argc) repeats = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--only" && i + 1 < argc && std::string(argv[i + 1]) == "split2x2") ++i;  // its one job
        else {
            std::fprintf(stderr, "usage: %s [--dir FOLDER] [--repeat N] [--only split2x2]\n", argv[0]);
            return 1;
        }
    }
    fs::create_directories(dir);

    // Four 10 s 1080p clips of different patterns, each with its own tone.
    const char* patterns[4] = {"testsrc2", "smptehdbars", "testsrc", "rgbtestsrc"};
    std::vector<std::string> inputs;
    for (int i = 0; i < 4; ++i) {
        std::string path = dir + "/split_" + patterns[i] + "_1080p.mp4";
        ensureMedia(path, std::string("-f lavfi -i ") + patterns[i] + "=size=1920x1080:rate=25:duration=10 " +
                              "-f lavfi -i sine=frequency=" + std::to_string(330 + 110 * i) +
                              ":sample_rate=44100:duration=10 -ac 2 -c:v libx264 -preset veryfast -g 50 "
                              "-pix_fmt yuv420p -c:a aac -b:a 128k -shortest");
        inputs.push_back(path);
    }
    std::string engine_out = dir + "/split2x2_engine.mp4";
    std::string cli_out = dir + "/split2x2_cli.mp4";

    // The same layout: each picture scaled into its quarter, the four sounds summed at full level.
    std::string graph;
    for (int i = 0; i < 4; ++i)
        graph += "[" + std::to_string(i) + ":v]scale=960:540,setsar=1[v" + std::to_string(i) + "];";
    graph += "[v0][v1][v2][v3]xstack=inputs=4:layout=0_0|w0_0|0_h0|w0_h0,fps=25[v];"
             "[0:a][1:a][2:a][3:a]amix=inputs=4:normalize=0:duration=longest[a]";
    std::vector<std::string> argv_cli = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error"};
    for (const std::string& in : inputs) argv_cli.insert(argv_cli.end(), {"-i", in});
    argv_cli.insert(argv_cli.end(), {"-filter_complex", graph, "-map", "[v]", "-map", "[a]", "-c:v", "libx264",
                                     "-b:v", std::to_string(kVideoKbps) + "k", "-pix_fmt", "yuv420p", "-c:a", "aac",
                                     "-b:a", std::to_string(kAudioKbps) + "k", "-ar", "44100", "-ac", "2", cli_out});
    ChildUsage engine, cli;
    const bool ok = bestOfAlternating(
        repeats,
        [&] {
            removeOutput(engine_out);
            return runForked([&] { return engineSplit(inputs, engine_out); });
        },
        [&] {
            removeOutput(cli_out);
            return runProgram(argv_cli);
        },
        &engine, &cli);
    if (!ok) {
        std::fprintf(stderr, "split2x2: a run failed\n");
        return 3;
    }
    printUsageLine("split2x2", engine, cli);
    compareDurations("split2x2", engine_out, cli_out, 0.1);
    return 0;
}
