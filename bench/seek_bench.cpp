// Times frame-accurate seeks of the preview player on a 1080p H.264 file with a 2-second GOP:
// each seek is followed by a snapshot of the frame it landed on.
// Prints: job=seek1080 median_ms=X p95_ms=Y (the best of --repeat N runs by median; processor
// time on stderr). Usage: bench_seek [--repeat N] [--only seek1080]
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <random>
#include <vector>

#include "engine/player/DIVuverIzizud.h"

namespace {

constexpr int kSeeks = 50;
constexpr double kLengthS = 30.0;

bool makeInput(const QString& path) {
    if (QFileInfo::exists(path)) return true;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                            QString("testsrc2=size=1920x1080:rate=25:duration=%1").arg(kLengthS), "-c:v", "libx264",
                            "-preset", "veryfast", "-pix_fmt", "yuv420p", "-g", "50", "-keyint_min", "50", path});
    if (!ffmpeg.waitForFinished(600000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", ffmpeg.readAll().constData());
        return false;
    }
    return true;
}

double percentile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(q * double(values.size() - 1) + 0.5));
    return values[index];
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    int repeats = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) repeats = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--only" && i + 1 < argc && std::string(argv[i + 1]) == "seek1080") ++i;  // its one job
        else {
            std::fprintf(stderr, "usage: %s [--repeat N] [--only seek1080]\n", argv[0]);
            return 1;
        }
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString input = QDir::tempPath() + "/kestrel_bench_seek1080.mp4";
    if (!makeInput(input)) return 1;

    auto player = kestrel::player::DIVuverIzizud::initWithString(input.toStdString(), QRectF(0, 0, 640, 360));
    if (!player) {
        std::fprintf(stderr, "the player cannot open %s\n", qPrintable(input));
        return 1;
    }
    std::vector<uint8_t> buffer(size_t(1920) * 1080 * 4);
    double best_median = 0, best_p95 = 0, best_cpu = 0;
    for (int run = 0; run < repeats; ++run) {
        std::mt19937 random(20240601);
        std::uniform_real_distribution<double> when(0.0, kLengthS - 0.1);
        std::vector<double> millis;
        const double cpu_start = processorSeconds();
        for (int i = 0; i < kSeeks; ++i) {
            const auto target = platform::MediaTime::fromSeconds(when(random), 1000000000);
            const auto start = std::chrono::steady_clock::now();
            player->seekTime(target);
            int32_t w = 1920, h = 1080;
            if (player->Snapshot(&w, &h, buffer.data()) != 1) {
                std::fprintf(stderr, "snapshot failed at %.3f s\n", target.seconds());
                return 1;
            }
            millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        const double median = percentile(millis, 0.5);
        if (run == 0 || median < best_median) {
            best_median = median;
            best_p95 = percentile(millis, 0.95);
            best_cpu = processorSeconds() - cpu_start;
        }
    }
    player->closePlayer();
    std::printf("job=seek1080 median_ms=%.1f p95_ms=%.1f\n", best_median, best_p95);
    std::fprintf(stderr, "  seek1080 processor time: %.2f s for %d seeks\n", best_cpu, kSeeks);
    return 0;
}
