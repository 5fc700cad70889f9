// Face beauty on a 1080p source as the preview draws it: each picture composed from the clip,
// its faces found on a scaled copy every few pictures and followed in between, and all five
// values applied. Prints the pictures a second the preview could show (30 is real time).
#include "common_bench.h"
#include "engine/editing/composition_plan.h"
#include "engine/editing/compositor.h"
#include "engine/editing/face_model.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace kestrel::editing;

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
        layer.beauty = BeautySettings{60, 30, 30, 40, 40};
        plan.layers.push_back(layer);
        Compositor compositor(detection);
        Canvas canvas;
        const int frames = 120;
        auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < frames; ++k) compositor.render(plan, int64_t(k) * 1000000 / 30, &canvas);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("job=%s fps=%.1f canvas=%dx%d faces=%s\n", job, frames / seconds, w, h, faces ? "yes" : "no");
    }
    return 0;
}
