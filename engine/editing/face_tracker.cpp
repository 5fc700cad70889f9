#include "engine/editing/face_tracker.h"

#include "engine/editing/face_model.h"

#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_processing/shape_predictor.h>

#include <algorithm>
#include <cmath>

namespace kestrel::editing {

struct FaceTracker::State {
    dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    dlib::array2d<unsigned char> grey;
    std::vector<FaceShape> faces;         // picture pixels
    int since_detection = -1;             // -1: nothing detected yet
    int64_t last_us = INT64_MIN;
    int width = 0, height = 0;
};

FaceTracker::FaceTracker() : state_(std::make_unique<State>()) {}
FaceTracker::~FaceTracker() = default;

double FaceTracker::detectionScale(int width, int height) {
    int long_side = std::max(width, height);
    if (long_side <= 0) return 1.0;
    return double(std::clamp(long_side, 640, 960)) / long_side;
}

namespace {

void greyCopy(const uint8_t* bgra, int width, int height, int stride, double scale, dlib::array2d<unsigned char>* out) {
    int w = std::max(1, static_cast<int>(std::lround(width * scale)));
    int h = std::max(1, static_cast<int>(std::lround(height * scale)));
    out->set_size(h, w);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bgra + static_cast<size_t>(std::min(height - 1, static_cast<int>(y / scale))) * stride;
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = row + std::min(width - 1, static_cast<int>(x / scale)) * 4;
            (*out)[y][x] = static_cast<unsigned char>((p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8);
        }
    }
}

dlib::rectangle toGrey(const FaceShape& f, double scale) {
    return dlib::rectangle(std::lround(f.left * scale), std::lround(f.top * scale), std::lround(f.right * scale),
                           std::lround(f.bottom * scale));
}

void fitLandmarks(const dlib::shape_predictor& model, const dlib::array2d<unsigned char>& grey, double scale,
                  FaceShape* face) {
    dlib::full_object_detection shape = model(grey, toGrey(*face, scale));
    if (shape.num_parts() != 68) return;
    for (unsigned long i = 0; i < 68; ++i)
        face->points[i] = FacePoint{float(shape.part(i).x() / scale), float(shape.part(i).y() / scale)};
    face->has_landmarks = true;
}

FacePoint centroid(const FaceShape& f) {
    FacePoint c;
    for (const FacePoint& p : f.points) c.x += p.x, c.y += p.y;
    return FacePoint{c.x / 68, c.y / 68};
}

}  // namespace

std::vector<FaceShape> FaceTracker::track(const uint8_t* bgra, int width, int height, int stride, int64_t time_us) {
    State& s = *state_;
    if (width <= 0 || height <= 0) return {};
    const double scale = detectionScale(width, height);
    greyCopy(bgra, width, height, stride, scale, &s.grey);
    std::shared_ptr<const dlib::shape_predictor> model = landmarkModel();

    bool jumped = s.last_us == INT64_MIN || time_us < s.last_us || time_us - s.last_us > 500000 || width != s.width || height != s.height;
    s.last_us = time_us;
    s.width = width, s.height = height;
    if (s.since_detection < 0 || jumped || ++s.since_detection >= kDetectEvery) {
        s.faces.clear();
        for (const dlib::rectangle& r : s.detector(s.grey)) {
            FaceShape f;
            f.left = float(r.left() / scale), f.top = float(r.top() / scale);
            f.right = float((r.right() + 1) / scale), f.bottom = float((r.bottom() + 1) / scale);
            if (model) fitLandmarks(*model, s.grey, scale, &f);
            s.faces.push_back(f);
        }
        s.since_detection = 0;
        return s.faces;
    }
    if (model) {
        // Follow each face: fit the landmarks in its last box, then move the box with them.
        for (FaceShape& f : s.faces) {
            FacePoint before = f.has_landmarks ? centroid(f) : FacePoint{};
            bool had = f.has_landmarks;
            fitLandmarks(*model, s.grey, scale, &f);
            if (had && f.has_landmarks) {
                FacePoint after = centroid(f);
                float dx = after.x - before.x, dy = after.y - before.y;
                f.left += dx, f.right += dx, f.top += dy, f.bottom += dy;
            }
        }
    }
    return s.faces;
}

}  // namespace kestrel::editing
