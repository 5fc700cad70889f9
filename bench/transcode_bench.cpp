// Times the transcoding engine against the ffmpeg command line on the same 1080p + AAC jobs,
// with the same encoder, preset, bit rates and threading, and prints one line per job:
//   job=NAME engine_s=X cli_s=Y ratio=R
// Usage: bench_transcode [--repeat N] [--dir FOLDER] [--only JOB]
extern "C" {
#include <libavutil/log.h>
}
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/common_bench.h"
#include "bench/edit_export_bench.h"
#include "bench/kept_cut_bench.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"

namespace fs = std::filesystem;
using namespace kestrel::bench;

namespace {

constexpr int kVideoKbps = 8000;
constexpr int kAudioKbps = 128;
const std::string kCliEncode = "-c:v libx264 -preset medium -b:v 8000k -c:a aac -b:a 128k";

std::string cli(const std::string& args) { return "ffmpeg -nostdin -hide_banner -loglevel error " + args; }

bool runCli(const std::string& args) {
    std::string out;
    const int rc = runShell(cli(args), &out);
    if (rc != 0) std::fprintf(stderr, "%s\n", out.c_str());
    return rc == 0;
}

// One convert job set up by `configure`, run to the end.
bool engineConvert(const std::string& input, const std::string& output, const std::function<void(void*)>& configure) {
    void* job = apiMediaConvertCreate();
    if (!job || apiMediaConvertSetInputMedia(job, input.c_str()) < 1) return false;
    configure(job);
    if (apiMediaConvertSetOutputPath(job, output.c_str()) < 1) return false;
    const int result = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    if (result < 1) std::fprintf(stderr, "engine convert failed: %d\n", result);
    return result >= 1;
}

void encodeSettings(void* job) {
    apiMediaConvertSetVcodec(job, "libx264");
    apiMediaConvertSetVideoBitrate(job, kVideoKbps);
    apiMediaConvertSetAcodec(job, "aac");
    apiMediaConvertSetAudioBitrate(job, kAudioKbps);
}

struct Bench {
    std::string dir;
    int repeats = 1;
    std::string only;

    std::string path(const std::string& name) const { return dir + "/" + name; }

    void time(const std::string& job, const std::function<bool(const std::string&)>& engine,
              const std::function<bool(const std::string&)>& command, double duration_tolerance_s) {
        if (!only.empty() && only != job) return;
        const std::string engine_out = path(job + "-engine.mp4");
        const std::string cli_out = path(job + "-cli.mp4");
        Timing engine_t, cli_t;
        timeAlternating(
            repeats,
            [&] { return timeOnce([&] { fs::remove(engine_out); }, [&] { return engine(engine_out); }, false, job + " engine"); },
            [&] { return timeOnce([&] { fs::remove(cli_out); }, [&] { return command(cli_out); }, true, job + " cli"); },
            &engine_t, &cli_t);
        compareDurations(job, engine_out, cli_out, duration_tolerance_s);
        printJobLine(job, engine_t, cli_t);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Bench bench;
    bench.dir = (fs::temp_directory_path() / "kestrel-bench").string();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) bench.repeats = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--dir" && i + 1 < argc) bench.dir = argv[++i];
        else if (arg == "--only" && i + 1 < argc) bench.only = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--repeat N] [--dir FOLDER] [--only reencode|copycut|join3|cropwatermark|cut_keep|cut_keep_opengop|cut_keep_hevc|cut_keep_hevc_main10|merge3_keep|editexport60]\n", argv[0]);
            return 1;
        }
    }
    fs::create_directories(bench.dir);
    av_log_set_level(AV_LOG_ERROR);

    // Inputs, made once and kept between runs: 20 s of 1080p30 H.264 (key frame every 2 s) with
    // 48 kHz stereo AAC, three 8 s clips of the same kind, and a 320x180 picture with alpha.
    const std::string source = bench.path("source1080.mp4");
    const std::string encode_input = "-c:v libx264 -preset veryfast -g 60 -pix_fmt yuv420p -c:a aac -b:a 128k -shortest";
    ensureMedia(source, "-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=20 -f lavfi -i sine=frequency=440:sample_rate=48000:duration=20 -ac 2 " + encode_input);
    const char* patterns[3] = {"testsrc2", "smptehdbars", "mandelbrot"};
    std::vector<std::string> clips;
    for (int i = 0; i < 3; ++i) {
        clips.push_back(bench.path("clip" + std::to_string(i) + ".mp4"));
        ensureMedia(clips.back(), std::string("-f lavfi -i ") + patterns[i] + "=size=1920x1080:rate=30 -f lavfi -i sine=frequency=" +
                                      std::to_string(330 + 110 * i) + ":sample_rate=48000 -t 8 -ac 2 " + encode_input);
    }
    const std::string logo = bench.path("logo.png");
    if (!fs::exists(logo)) runShell(cli("-f lavfi -i testsrc=size=320x180 -frames:v 1 -vf format=rgba,colorchannelmixer=aa=0.7 " + shellQuote(logo)));

    bench.time(
        "reencode", [&](const std::string& out) { return engineConvert(source, out, encodeSettings); },
        [&](const std::string& out) { return runCli("-i " + shellQuote(source) + " " + kCliEncode + " " + shellQuote(out)); }, 0.1);

    // 4 s is a key frame: both copy the packets of 4..14 s.
    bench.time(
        "copycut",
        [&](const std::string& out) {
            return engineConvert(source, out, [](void* job) { apiMediaConvertSetCutTime(job, 4'000'000, 14'000'000); });
        },
        [&](const std::string& out) {
            return runCli("-ss 4 -i " + shellQuote(source) + " -t 10 -c copy -avoid_negative_ts make_zero " + shellQuote(out));
        },
        0.2);  // the command line keeps a few packets past the end; the engine cuts within a frame

    bench.time(
        "join3",
        [&](const std::string& out) {
            void* job = apiMediaJoinCreate();
            apiMediaJoinSetOutputPath(job, out.c_str());
            apiMediaJoinSetVideoCodec(job, "libx264");
            apiMediaJoinSetVideoBitrate(job, kVideoKbps);
            apiMediaJoinSetAudioCodec(job, "aac");
            apiMediaJoinSetAudioBitrate(job, kAudioKbps);
            for (const std::string& clip : clips) apiMediaJoinAddMediaClip(job, clip.c_str(), 0, 0);
            const int result = apiMediaJoinStart(job);
            apiMediaJoinClose(job);
            if (result < 0) std::fprintf(stderr, "engine join failed: %d\n", result);
            return result >= 0;
        },
        [&](const std::string& out) {
            return runCli("-i " + shellQuote(clips[0]) + " -i " + shellQuote(clips[1]) + " -i " + shellQuote(clips[2]) +
                          " -filter_complex \"[0:v][0:a][1:v][1:a][2:v][2:a]concat=n=3:v=1:a=1[v][a]\" -map \"[v]\" -map \"[a]\" " +
                          kCliEncode + " " + shellQuote(out));
        },
        0.1);

    // Crop 160/90 px from each side (1600x900 left), picture at (200,150)-(520,330) of the
    // uncropped frame, which is (40,60) in the cropped one. The command line converts the picture
    // once to the video's format and blends on YUV, its fastest form.
    bench.time(
        "cropwatermark",
        [&](const std::string& out) {
            return engineConvert(source, out, [&](void* job) {
                encodeSettings(job);
                apiMediaConvertSetCropSize(job, MediaRect{160, 90, 160, 90});
                ImageWatermarkRecord mark{};
                std::snprintf(mark.path, sizeof mark.path, "%s", logo.c_str());
                mark.left = 200;
                mark.top = 150;
                mark.right = 520;
                mark.bottom = 330;
                apiMediaConvertAddImageWatermask(job, mark);
            });
        },
        [&](const std::string& out) {
            return runCli("-i " + shellQuote(source) + " -i " + shellQuote(logo) +
                          " -filter_complex \"[0:v]crop=1600:900:160:90[c];[1:v]scale=320:180,format=rgba[l];[c][l]overlay=40:60:format=yuv420[v]\"" +
                          " -map \"[v]\" -map 0:a " + kCliEncode + " " + shellQuote(out));
        },
        0.1);

    if (bench.only.empty() || isKeptCutJob(bench.only)) runKeptCutJobs(bench.dir, bench.repeats, bench.only);
    if (bench.only.empty() || bench.only == "editexport60") {
        if (!runEditExport60(bench.dir, bench.repeats)) return 3;
    }
    return 0;
}
