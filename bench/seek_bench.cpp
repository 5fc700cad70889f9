// Times frame-accurate seeks of the preview player on a 1080p H.264 file with a 2-second GOP:
// each seek is followed by a snapshot of the frame it landed on.
// Prints: job=seek1080 median_ms=X p95_ms=Y
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
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
    std::mt19937 random(20240601);
    std::uniform_real_distribution<double> when(0.0, kLengthS - 0.1);
    std::vector<double> millis;
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
    player->closePlayer();
    std::printf("job=seek1080 median_ms=%.1f p95_ms=%.1f\n", percentile(millis, 0.5), percentile(millis, 0.95));
    return 0;
}
