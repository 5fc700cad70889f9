// Face beauty on a 1080p source as the preview draws it: each picture composed from the clip,
// its faces found on a scaled copy every few pictures and followed in between, and all five
// values applied. Prints the pictures a second the preview could show (30 is real time), then
// exports 10 s of such a clip to H.264 through the editing engine's export job and prints the
// pictures a second written (job=beauty_export1080).
#include "common_bench.h"
#include "engine/editing/composition_plan.h"
#include "engine/editing/compositor.h"
#include "engine/editing/edit_job.h"
#include "engine/editing/face_model.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

using namespace kestrel::editing;

namespace {

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

const BeautySettings kEveryEffect{60, 30, 30, 40, 40};

// The clip exported with every face effect on, as the editor's export runs it.
bool exportWithBeauty(const std::string& clip, const std::string& output, int64_t length_us, int frames) {
    CompositionPlan plan;
    plan.width = 1920, plan.height = 1080, plan.fps = 30, plan.total_us = length_us;
    LayerPlan layer;
    layer.media_id = 1;
    layer.path = clip;
    layer.show_end_us = plan.total_us;
    layer.beauty = kEveryEffect;
    plan.layers.push_back(layer);
    OutputSettings settings;
    settings.path = output;
    settings.video_kbps = 8000;
    std::filesystem::remove(output);
    EditJob job(plan, settings);
    const double cpu_before = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    const kestrel::engine::ResultCode rc = job.start();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = processorSeconds() - cpu_before;
    std::filesystem::remove(output);
    if (rc != kestrel::engine::ResultCode::Ok) {
        std::fprintf(stderr, "beauty export failed: %d\n", int(rc));
        return false;
    }
    std::printf("job=beauty_export1080 fps=%.1f pictures=%d wall_s=%.2f\n", frames / seconds, frames, seconds);
    std::fprintf(stderr, "  beauty_export1080 processor time: %.2f s\n", cpu);
    return true;
}

}  // namespace

int main() {
    // Three faces of dlib's example photos at 1080p, slowly panned so they move between
    // detections (a test pattern when the photos are missing).
    const std::string photo = "/usr/share/doc/libdlib19.1/examples/faces/2008_002506.jpg";
    const bool faces = std::ifstream(photo).good();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kestrel-bench";
    std::filesystem::create_directories(dir);
    const std::string clip = (dir / (faces ? "beauty1080_faces.mp4" : "beauty1080.mp4")).string();
    kestrel::bench::ensureMedia(
        clip, faces ? "-loop 1 -i " + photo +
                          " -vf scale=2020:1136,crop=1920:1080:t*24:t*13 -r 30 -t 4"
                          " -pix_fmt yuv420p -c:v libx264 -preset veryfast"
                    : std::string("-f lavfi -i testsrc2=s=1920x1080:r=30 -t 4 -pix_fmt yuv420p -c:v libx264 -preset veryfast"));
    loadFaceModel("/usr/share/dlib/shape_predictor_68_face_landmarks.dat");
    // A 1080p source drawn at full size, and at the size the tool window's preview shows it; then
    // as an export draws it (faces found on the picture drawn, no worker).
    struct Run {
        int w, h;
        FaceDetection detection;
        const char* job;
    };
    for (auto [w, h, detection, job] : {Run{1920, 1080, FaceDetection::InBackground, "beauty1080"},
                                        Run{1280, 720, FaceDetection::InBackground, "beauty1080"},
                                        Run{1920, 1080, FaceDetection::InStep, "beauty1080_export"}}) {
        CompositionPlan plan;
        plan.width = w, plan.height = h, plan.fps = 30, plan.total_us = 4000000;
        LayerPlan layer;
        layer.media_id = 1;
        layer.path = clip;
        layer.show_end_us = plan.total_us;
        layer.beauty = kEveryEffect;
        plan.layers.push_back(layer);
        Compositor compositor(detection);
        Canvas canvas;
        const int frames = 120;
        auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < frames; ++k) compositor.render(plan, int64_t(k) * 1000000 / 30, &canvas);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("job=%s fps=%.1f canvas=%dx%d faces=%s\n", job, frames / seconds, w, h, faces ? "yes" : "no");
    }
    // 10 s of the same panned photo, exported to H.264 at 8000 kbit/s with every effect on.
    const std::string long_clip = (dir / (faces ? "beauty1080_faces10s.mp4" : "beauty1080_10s.mp4")).string();
    kestrel::bench::ensureMedia(
        long_clip, faces ? "-loop 1 -i " + photo +
                               " -vf scale=2020:1136,crop=1920:1080:t*9:t*5 -r 30 -t 10"
                               " -pix_fmt yuv420p -c:v libx264 -preset veryfast"
                         : std::string("-f lavfi -i testsrc2=s=1920x1080:r=30 -t 10 -pix_fmt yuv420p -c:v libx264 -preset veryfast"));
    if (!exportWithBeauty(long_clip, (dir / "beauty_export1080.mp4").string(), 10'000'000, 300)) return 1;
    return 0;
}
