// Face beauty at 1080p as the preview draws it: each picture composed from the clip, its faces
// found on a scaled copy every few pictures and followed in between, and all five values
// applied. Prints the pictures a second the preview could show.
#include "common_bench.h"
#include "engine/editing/composition_plan.h"
#include "engine/editing/compositor.h"
#include "engine/editing/face_model.h"

#include <chrono>
#include <cstdio>

using namespace kestrel::editing;

int main() {
    const std::string clip = "/tmp/kestrel-bench/beauty1080.mp4";
    kestrel::bench::ensureMedia(clip, "-f lavfi -i testsrc2=s=1920x1080:r=30 -t 4 -pix_fmt yuv420p -c:v libx264 -preset veryfast");
    loadFaceModel("/usr/share/dlib/shape_predictor_68_face_landmarks.dat");
    CompositionPlan plan;
    plan.width = 1920, plan.height = 1080, plan.fps = 30, plan.total_us = 4000000;
    LayerPlan layer;
    layer.media_id = 1;
    layer.path = clip;
    layer.show_end_us = plan.total_us;
    layer.beauty = BeautySettings{60, 30, 30, 40, 40};
    plan.layers.push_back(layer);
    Compositor compositor;
    Canvas canvas;
    const int frames = 120;
    auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < frames; ++k) compositor.render(plan, int64_t(k) * 1000000 / 30, &canvas);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("job=beauty1080 fps=%.1f\n", frames / seconds);
    return 0;
}
