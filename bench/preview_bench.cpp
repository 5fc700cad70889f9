// Plays a 4K30 H.264 file through the preview player, as a window would, and counts the
// pictures that were shown against those the file holds. Run it on an idle machine: the
// player keeps time by the clock, so a busy machine drops pictures that an idle one shows.
// Prints: job=preview4k pictures=N shown=S dropped_pct=P wall_s=W (processor time on stderr).
// Usage: bench_preview [--repeat N] [--only preview4k] [--load]
//   --load  plays while one busy process per processor core runs beside it (a machine that is
//           also building or exporting); the line then reads job=preview4k_load.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/common_bench.h"
#include "engine/player/DIVuverIzizud.h"

using namespace kestrel::bench;

namespace {

constexpr double kLengthS = 10.0;
constexpr int kRate = 30;

// One child per core spinning until it is ended; ended and reaped when this goes.
class BusyProcesses {
public:
    explicit BusyProcesses(unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                volatile unsigned long spin = 0;
                for (;;) spin = spin + 1;
            }
            if (pid > 0) children_.push_back(pid);
        }
    }
    ~BusyProcesses() {
        for (pid_t pid : children_) kill(pid, SIGKILL);
        for (pid_t pid : children_) waitpid(pid, nullptr, 0);
    }
    BusyProcesses(const BusyProcesses&) = delete;
    BusyProcesses& operator=(const BusyProcesses&) = delete;

private:
    std::vector<pid_t> children_;
};

}  // namespace

int main(int argc, char** argv) {
    int repeats = 1;
    bool load = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) repeats = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--only" && i + 1 < argc && std::string(argv[i + 1]) == "preview4k") ++i;  // its one job
        else if (arg == "--load") load = true;
        else {
            std::fprintf(stderr, "usage: %s [--repeat N] [--only preview4k] [--load]\n", argv[0]);
            return 2;
        }
    }
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QString folder = QDir::tempPath() + "/kestrel-bench";
    QDir().mkpath(folder);
    const QString input = folder + "/preview4k.mp4";
    ensureMedia(input.toStdString(), "-f lavfi -i testsrc2=size=3840x2160:rate=" + std::to_string(kRate) +
                                         ":duration=" + std::to_string(int(kLengthS)) +
                                         " -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 60");

    const long pictures = long(kLengthS * kRate);
    double best_pct = 100, best_wall = 0;
    long best_shown = 0;
    for (int run = 0; run < repeats; ++run) {
        // Started before the player, so its threads meet the busy machine from the first picture.
        std::unique_ptr<BusyProcesses> busy;
        if (load) busy = std::make_unique<BusyProcesses>(std::max(1u, std::thread::hardware_concurrency()));
        auto player = kestrel::player::DIVuverIzizud::initWithString(input.toStdString(), QRectF(0, 0, 960, 540));
        if (!player) {
            std::fprintf(stderr, "the player cannot open %s\n", qUtf8Printable(input));
            return 1;
        }
        // Waits in an event loop as a window does: a loop that polls for events would take a
        // core from the player.
        bool ended = false;
        QEventLoop loop;
        player->setPlayerDidEndBlock([&] {
            ended = true;
            loop.quit();
        });
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        const Timing timing = timeOnce([] {}, [&] {
            player->play();
            if (!ended) loop.exec();
            return ended;
        }, false, "4K playback");
        const double wall_s = timing.wall_s;
        const long shown = long(player->picturesShownPlaying());
        const double pct = 100.0 * double(std::max(0L, pictures - shown)) / double(pictures);
        std::fprintf(stderr, "run %d: shown=%ld late=%llu processor_s=%.2f\n", run + 1, shown,
                     static_cast<unsigned long long>(player->picturesDroppedLate()), timing.cpu_s);
        if (pct < best_pct) best_pct = pct, best_wall = wall_s, best_shown = shown;
    }
    std::printf("job=%s pictures=%ld shown=%ld dropped_pct=%.2f wall_s=%.2f\n", load ? "preview4k_load" : "preview4k", pictures, best_shown, best_pct,
                best_wall);
    return 0;
}
