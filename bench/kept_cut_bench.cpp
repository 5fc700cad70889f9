#include "bench/kept_cut_bench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/common_bench.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"

namespace fs = std::filesystem;

namespace kestrel::bench {

namespace {

const std::string kCliH264 = "-c:v libx264 -preset medium -b:v 8000k -c:a aac -b:a 128k";
// x265 at its own defaults, as a command line user of it would cut exactly; a 10-bit source stays 10-bit.
const std::string kCliHevc = "-c:v libx265 -x265-params log-level=error -tag:v hvc1 -c:a aac -b:a 128k";

struct Range {
    double start_s, end_s;
};

bool runCli(const std::string& args) {
    std::string out;
    const int rc = runShell("ffmpeg -nostdin -hide_banner -loglevel error " + args, &out);
    if (rc != 0) std::fprintf(stderr, "%s\n", out.c_str());
    return rc == 0;
}

bool engineCut(const std::string& input, const std::string& output, Range range) {
    void* job = apiMediaConvertCreate();
    if (!job || apiMediaConvertSetInputMedia(job, input.c_str()) < 1) return false;
    apiMediaConvertSetCutTime(job, int64_t(range.start_s * 1e6), int64_t(range.end_s * 1e6));
    if (apiMediaConvertSetOutputPath(job, output.c_str()) < 1) return false;
    const int result = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    if (result < 1) std::fprintf(stderr, "engine convert failed: %d\n", result);
    return result >= 1;
}

// The source's ranges joined with no codec given: the easy cutter's merged export.
bool engineMerge(const std::string& input, const std::string& output, const std::vector<Range>& ranges) {
    void* job = apiMediaJoinCreate();
    if (!job) return false;
    for (const Range& r : ranges)
        if (apiMediaJoinAddMediaClip(job, input.c_str(), int64_t(r.start_s * 1e6), int64_t(r.end_s * 1e6)) < 1) return false;
    if (apiMediaJoinSetOutputPath(job, output.c_str()) < 1) return false;
    const int result = apiMediaJoinStart(job);
    apiMediaJoinClose(job);
    if (result < 1) std::fprintf(stderr, "engine join failed: %d\n", result);
    return result >= 1;
}

std::string cliCut(const std::string& input, Range range) {
    char times[64];
    std::snprintf(times, sizeof times, "-ss %.3f -t %.3f", range.start_s, range.end_s - range.start_s);
    return std::string(times) + " -i " + shellQuote(input);
}

long frameCount(const std::string& path) {
    std::string out;
    runShell("ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 " + shellQuote(path), &out);
    return std::atol(out.c_str());
}

// Both sides must hold the same pictures; the engine's first one is the source's at the start.
void checkCut(const std::string& job, const std::string& source, const std::string& engine_out,
              const std::string& cli_out, Range range) {
    std::fprintf(stderr, "  %s frames engine=%ld cli=%ld\n", job.c_str(), frameCount(engine_out), frameCount(cli_out));
    std::string psnr;
    char start[32];
    std::snprintf(start, sizeof start, "%.3f", range.start_s);
    runShell("ffmpeg -hide_banner -v info -i " + shellQuote(engine_out) + " -ss " + start + " -i " + shellQuote(source) +
                 " -filter_complex \"[0:v]trim=end_frame=1,format=yuv420p,scale=64:36[a];[1:v]trim=end_frame=1,format=yuv420p,scale=64:36[b];[a][b]psnr\" -f null - 2>&1 | grep -o 'average:[^ ]*'",
             &psnr);
    std::fprintf(stderr, "  %s first frame against the source at %s s: psnr %s", job.c_str(), start, psnr.c_str());
}

struct Runner {
    std::string dir;
    int repeats = 1;
    std::string only;

    std::string path(const std::string& name) const { return dir + "/" + name; }
    bool wanted(const std::string& job) const { return only.empty() || only == job; }

    void time(const std::string& job, const std::function<bool(const std::string&)>& engine,
              const std::function<bool(const std::string&)>& command) {
        const std::string engine_out = path(job + "-engine.mp4");
        const std::string cli_out = path(job + "-cli.mp4");
        Timing engine_t, cli_t;
        timeAlternating(
            repeats,
            [&] { return timeOnce([&] { fs::remove(engine_out); }, [&] { return engine(engine_out); }, false, job + " engine"); },
            [&] { return timeOnce([&] { fs::remove(cli_out); }, [&] { return command(cli_out); }, true, job + " cli"); },
            &engine_t, &cli_t);
        compareDurations(job, engine_out, cli_out, 0.1);
        printJobLine(job, engine_t, cli_t);
    }

    void cut(const std::string& job, const std::string& source, Range range, const std::string& cli_encode) {
        if (!wanted(job)) return;
        time(
            job, [&](const std::string& out) { return engineCut(source, out, range); },
            [&](const std::string& out) { return runCli(cliCut(source, range) + " " + cli_encode + " " + shellQuote(out)); });
        checkCut(job, source, path(job + "-engine.mp4"), path(job + "-cli.mp4"), range);
    }
};

}  // namespace

bool isKeptCutJob(const std::string& name) {
    for (const char* job : {"cut_keep", "cut_keep_opengop", "cut_keep_hevc", "cut_keep_hevc_main10", "merge3_keep"})
        if (name == job) return true;
    return false;
}

void runKeptCutJobs(const std::string& dir, int repeats, const std::string& only) {
    Runner run{dir, repeats, only};
    // 60 s of 1080p30 with 48 kHz stereo AAC, a key frame every 2 s: H.264 in closed groups, H.264
    // with B-frames in open groups, and HEVC (x265's open groups, B-frames) in 8 and 10 bits.
    const std::string lavfi = "-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=60 -f lavfi -i sine=frequency=440:sample_rate=48000:duration=60 -ac 2 ";
    const std::string sound = " -c:a aac -b:a 128k -shortest";
    const std::string x265 = "-c:v libx265 -preset superfast -x265-params keyint=60:min-keyint=60:scenecut=0:bframes=3:log-level=error -tag:v hvc1 ";
    const std::string h264 = run.path("source1080_60s.mp4");
    const std::string h264_open = run.path("source1080_60s_opengop.mp4");
    const std::string hevc = run.path("source1080_60s_hevc.mp4");
    const std::string main10 = run.path("source1080_60s_main10.mp4");
    if (run.wanted("cut_keep") || run.wanted("merge3_keep"))
        ensureMedia(h264, lavfi + "-c:v libx264 -preset veryfast -g 60 -pix_fmt yuv420p" + sound);
    if (run.wanted("cut_keep_opengop"))
        ensureMedia(h264_open, lavfi + "-c:v libx264 -preset veryfast -x264-params open-gop=1:bframes=3:keyint=60:min-keyint=60:scenecut=0 -pix_fmt yuv420p" + sound);
    if (run.wanted("cut_keep_hevc")) ensureMedia(hevc, lavfi + x265 + "-pix_fmt yuv420p" + sound);
    if (run.wanted("cut_keep_hevc_main10")) ensureMedia(main10, lavfi + x265 + "-pix_fmt yuv420p10le -profile:v main10" + sound);

    // Both ends between key frames: 10.3 s to 45.7 s.
    const Range range{10.3, 45.7};
    run.cut("cut_keep", h264, range, kCliH264);
    run.cut("cut_keep_opengop", h264_open, range, kCliH264);
    run.cut("cut_keep_hevc", hevc, range, kCliHevc);
    run.cut("cut_keep_hevc_main10", main10, range, kCliHevc);

    // Three ranges, every end between key frames, merged; the command line cuts each exactly and
    // joins them with its concat filter.
    if (run.wanted("merge3_keep")) {
        const std::vector<Range> ranges = {{5.3, 17.7}, {24.5, 38.1}, {44.2, 55.9}};
        run.time(
            "merge3_keep", [&](const std::string& out) { return engineMerge(h264, out, ranges); },
            [&](const std::string& out) {
                std::string args;
                for (const Range& r : ranges) args += cliCut(h264, r) + " ";
                return runCli(args + "-filter_complex \"[0:v][0:a][1:v][1:a][2:v][2:a]concat=n=3:v=1:a=1[v][a]\" -map \"[v]\" -map \"[a]\" " +
                              kCliH264 + " " + shellQuote(out));
            });
        std::fprintf(stderr, "  merge3_keep frames engine=%ld cli=%ld (the ranges hold %d)\n",
                     frameCount(run.path("merge3_keep-engine.mp4")), frameCount(run.path("merge3_keep-cli.mp4")),
                     372 + 408 + 351);
    }
}

}  // namespace kestrel::bench
