// Reverse of a 60 s 1080p clip through the editing engine against `ffmpeg -vf reverse -af
// areverse`, both in child processes so that each one's peak memory is its own.
//
// Usage: bench_reverse [--dir FOLDER] [--repeat N] [--only reverse60] [--input FILE]
//   --input FILE  reverses FILE through the engine alone and prints
//                 "job=reverse_input engine_s=X engine_peak_mb=A" (the command line would hold
//                 every decoded picture of a long file in memory).
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

constexpr int kVideoKbps = 8000;
constexpr int kAudioKbps = 128;

bool engineReverse(const std::string& input, const std::string& output) {
    void* job = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(job, input.c_str());
    rdVEMediaReverseSetOutputPath(job, output.c_str());
    rdVEMediaReverseSetAudioMode(job, 2);
    rdVEMediaReverseSetVideoBitrate(job, kVideoKbps);
    rdVEMediaReverseSetAudioBitrate(job, kAudioKbps);
    int rc = rdVEMediaReverseEncode(job);
    rdVEMediaReverseClose(job);
    if (rc != 1) std::fprintf(stderr, "engine reverse failed: %d\n", rc);
    return rc == 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = (fs::temp_directory_path() / "kestrel-bench").string();
    std::string custom_input;
    int repeats = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--dir" && i + 1 < argc) dir = argv[++i];
        else if (arg == "--input" && i + 1 < argc) custom_input = argv[++i];
        else if (arg == "--repeat" && i + 1 < argc) repeats = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--only" && i + 1 < argc && std::string(argv[i + 1]) == "reverse60") ++i;  // its one job
        else {
            std::fprintf(stderr, "usage: %s [--dir FOLDER] [--repeat N] [--only reverse60] [--input FILE]\n", argv[0]);
            return 1;
        }
    }
    fs::create_directories(dir);

    if (!custom_input.empty()) {
        std::string out = dir + "/reverse_input_engine.mp4";
        removeOutput(out);
        ChildUsage engine = runForked([&] { return engineReverse(custom_input, out); });
        if (!engine.ok) return 3;
        std::printf("job=reverse_input engine_s=%.2f engine_peak_mb=%.0f\n", engine.wall_s, engine.peak_mb);
        std::fprintf(stderr, "  reverse_input processor time: engine %.2f s\n", engine.cpu_s);
        removeOutput(out);
        return 0;
    }

    // 60 s, 1920x1080 at 25 fps, a key frame every 2 s, 48 kHz stereo AAC.
    std::string input = dir + "/reverse60_1080p.mp4";
    ensureMedia(input,
                "-f lavfi -i testsrc2=size=1920x1080:rate=25:duration=60 "
                "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=60 -ac 2 "
                "-c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p -c:a aac -b:a 128k -shortest");
    std::string engine_out = dir + "/reverse60_engine.mp4";
    std::string cli_out = dir + "/reverse60_cli.mp4";
    const std::vector<std::string> command = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-i", input, "-vf",
                                 "reverse", "-af", "areverse", "-c:v", "libx264", "-b:v",
                                 std::to_string(kVideoKbps) + "k", "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a",
                                 std::to_string(kAudioKbps) + "k", cli_out};
    ChildUsage engine, cli;
    const bool ok = bestOfAlternating(
        repeats,
        [&] {
            removeOutput(engine_out);
            return runForked([&] { return engineReverse(input, engine_out); });
        },
        [&] {
            removeOutput(cli_out);
            return runProgram(command);
        },
        &engine, &cli);
    if (!ok) {
        std::fprintf(stderr, "reverse60: a run failed\n");
        return 3;
    }
    printUsageLine("reverse60", engine, cli);
    compareDurations("reverse60", engine_out, cli_out, 0.1);
    return 0;
}
