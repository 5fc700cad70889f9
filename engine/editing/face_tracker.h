#pragma once
// Finds the faces of one media's pictures: the HOG detector runs on a scaled grey copy (long
// side 640 to 1920 pixels) every few pictures, and in between the faces are followed by fitting
// the landmarks again around where they were.
//
// An export detects on the picture it draws, so its result depends on the pictures alone. A
// live preview keeps its drawing in real time: after the first picture (and after a jump) the
// detector runs on a worker thread while the drawing goes on following the faces it knows, and
// its answer is moved along with them when it arrives.
#include "engine/editing/beauty_effects.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrel::editing {

enum class FaceDetection { InStep, InBackground };

class FaceTracker {
public:
    explicit FaceTracker(FaceDetection detection = FaceDetection::InStep);
    ~FaceTracker();   // waits for a detection still running

    // The faces of this picture. A jump in time (seek, a new file) starts a fresh detection.
    std::vector<FaceShape> track(const uint8_t* bgra, int width, int height, int stride, int64_t time_us);

    // Pictures between two detections.
    static constexpr int kDetectEvery = 12;
    // The longest side of the grey copy: full size up to 1080p, where the detector's 80-pixel
    // window finds faces of 80 pixels.
    static constexpr int kLongestDetectionSide = 1920;
    // The scale of the grey copy for a picture of that size (long side kept between 640 and
    // kLongestDetectionSide).
    static double detectionScale(int width, int height);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kestrel::editing
