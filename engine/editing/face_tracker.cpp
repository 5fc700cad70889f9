#include "engine/editing/face_tracker.h"

#include "engine/editing/face_model.h"
#include "engine/editing/row_bands.h"

#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_processing/shape_predictor.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrel::editing {

struct FaceTracker::State {
    FaceDetection detection = FaceDetection::InStep;
    dlib::array2d<unsigned char> grey;    // this picture, scaled
    std::vector<int> source_x;            // the picture's column behind each grey column
    std::vector<FaceShape> faces;         // picture pixels
    std::vector<FaceShape> targets;       // each face's box as last detected, moved with the face
    std::vector<int> misses;              // detections in a row that did not find the face
    std::vector<FacePoint> velocities;    // each face's filtered move per picture
    std::vector<FacePoint> motion;        // each face's move over the last picture (live only)
    int since_detection = -1;             // -1: nothing detected yet
    int64_t last_us = INT64_MIN;
    int width = 0, height = 0;

    // While `asked`, the detector and detect_grey belong to the worker.
    dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    std::mutex mutex;
    std::condition_variable wake;
    std::thread worker;
    bool asked = false, answered = false, quit = false;
    dlib::array2d<unsigned char> detect_grey;
    std::vector<dlib::rectangle> found;   // the worker's answer, grey pixels
    std::vector<FaceShape> faces_then;    // the faces followed when it was asked

    void work() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return quit || asked; });
            if (quit) return;
            lock.unlock();
            std::vector<dlib::rectangle> rects = detector(detect_grey);
            lock.lock();
            found = std::move(rects);
            asked = false;
            answered = true;
            wake.notify_all();
        }
    }
};

FaceTracker::FaceTracker(FaceDetection detection) : state_(std::make_unique<State>()) { state_->detection = detection; }

FaceTracker::~FaceTracker() {
    State& s = *state_;
    if (!s.worker.joinable()) return;
    {
        std::lock_guard lock(s.mutex);
        s.quit = true;
    }
    s.wake.notify_all();
    s.worker.join();
}

double FaceTracker::detectionScale(int width, int height) {
    int long_side = std::max(width, height);
    if (long_side <= 0) return 1.0;
    return double(std::clamp(long_side, 640, kLongestDetectionSide)) / long_side;
}

namespace {

void greyCopy(const uint8_t* bgra, int width, int height, int stride, double scale, std::vector<int>* source_x,
              dlib::array2d<unsigned char>* out) {
    int w = std::max(1, static_cast<int>(std::lround(width * scale)));
    int h = std::max(1, static_cast<int>(std::lround(height * scale)));
    out->set_size(h, w);
    source_x->resize(w);
    for (int x = 0; x < w; ++x) (*source_x)[x] = std::min(width - 1, static_cast<int>(x / scale)) * 4;
    forEachBand(h, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const uint8_t* row = bgra + static_cast<size_t>(std::min(height - 1, static_cast<int>(y / scale))) * stride;
            unsigned char* to = &(*out)[y][0];
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = row + (*source_x)[x];
                to[x] = static_cast<unsigned char>((p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8);
            }
        }
    });
}

dlib::rectangle toGrey(const FaceShape& f, double scale) {
    return dlib::rectangle(std::lround(f.left * scale), std::lround(f.top * scale), std::lround(f.right * scale),
                           std::lround(f.bottom * scale));
}

FaceShape fromGrey(const dlib::rectangle& r, double scale) {
    FaceShape f;
    f.left = float(r.left() / scale), f.top = float(r.top() / scale);
    f.right = float((r.right() + 1) / scale), f.bottom = float((r.bottom() + 1) / scale);
    return f;
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

FacePoint centre(const FaceShape& f) { return FacePoint{(f.left + f.right) / 2, (f.top + f.bottom) / 2}; }

float overlap(const FaceShape& a, const FaceShape& b) {
    float w = std::min(a.right, b.right) - std::max(a.left, b.left);
    float h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    if (w <= 0 || h <= 0) return 0;
    float both = w * h;
    return both / ((a.right - a.left) * (a.bottom - a.top) + (b.right - b.left) * (b.bottom - b.top) - both);
}

// Fits the landmarks of every face in its box on this picture, the faces side by side.
void fitAll(const dlib::shape_predictor& model, const dlib::array2d<unsigned char>& grey, double scale,
            std::vector<FaceShape>* faces) {
    forEachBand(
        int(faces->size()),
        [&](int first, int end) {
            for (int i = first; i < end; ++i) fitLandmarks(model, grey, scale, &(*faces)[i]);
        },
        1);
}

void moveBox(FaceShape* f, float dx, float dy) { f->left += dx, f->right += dx, f->top += dy, f->bottom += dy; }

// The most a box edge moves towards its detected place in one picture, beyond the face's own
// move: a detection corrects the drift of following over several pictures, never in one step
// that the retouch, weighted by the box, would show.
constexpr float kEaseStepPx = 0.4f;

void easeTowards(FaceShape* box, const FaceShape& target) {
    auto ease = [](float& edge, float to) { edge += std::clamp(to - edge, -kEaseStepPx, kEaseStepPx); };
    ease(box->left, target.left), ease(box->right, target.right);
    ease(box->top, target.top), ease(box->bottom, target.bottom);
}

// The fitter's landmarks jump by a few pixels from picture to picture on a still face. The
// face's move is filtered as a steady motion corrected by each fit (an alpha-beta filter: no lag
// on a steady pan), and the shape moves a quarter of the way from the last one to the fit.
constexpr float kMoveGain = 0.2f, kVelocityGain = 0.04f, kShapeGain = 0.25f;

// Follows each face: fits the landmarks in its last box, then moves the box with them and eases
// it towards its target. The moves go to *motion when asked.
void follow(const dlib::shape_predictor& model, const dlib::array2d<unsigned char>& grey, double scale,
            std::vector<FaceShape>* faces, std::vector<FaceShape>* targets, std::vector<FacePoint>* velocities,
            std::vector<FacePoint>* motion = nullptr) {
    if (motion) motion->assign(faces->size(), FacePoint{});
    velocities->resize(faces->size());
    const std::vector<FaceShape> before = *faces;
    fitAll(model, grey, scale, faces);
    for (size_t i = 0; i < faces->size(); ++i) {
        FaceShape& f = (*faces)[i];
        if (!before[i].has_landmarks || !f.has_landmarks) continue;
        const FacePoint from = centroid(before[i]), fitted = centroid(f);
        FacePoint& v = (*velocities)[i];
        const float miss_x = fitted.x - (from.x + v.x), miss_y = fitted.y - (from.y + v.y);
        const float dx = v.x + kMoveGain * miss_x, dy = v.y + kMoveGain * miss_y;
        v.x += kVelocityGain * miss_x, v.y += kVelocityGain * miss_y;
        const FacePoint to{from.x + dx, from.y + dy};
        for (size_t p = 0; p < f.points.size(); ++p) {
            // The shape about its centre, a quarter of the way to the fit's, at the filtered place.
            const FacePoint shape_then{before[i].points[p].x - from.x, before[i].points[p].y - from.y};
            const FacePoint shape_now{f.points[p].x - fitted.x, f.points[p].y - fitted.y};
            f.points[p] = FacePoint{to.x + shape_then.x + kShapeGain * (shape_now.x - shape_then.x),
                                    to.y + shape_then.y + kShapeGain * (shape_now.y - shape_then.y)};
        }
        moveBox(&f, dx, dy);
        if (i < targets->size()) {
            moveBox(&(*targets)[i], dx, dy);
            easeTowards(&f, (*targets)[i]);
        }
        if (motion) (*motion)[i] = FacePoint{dx, dy};
    }
}

// Without the landmark model the boxes only ease towards where the detector last saw them.
void easeAll(std::vector<FaceShape>* faces, const std::vector<FaceShape>& targets) {
    for (size_t i = 0; i < faces->size() && i < targets.size(); ++i) easeTowards(&(*faces)[i], targets[i]);
}

// A detection's answer merged into the faces followed onto the same picture: a face found
// again keeps its place and landmarks, its box to be eased towards the detector's; a new face
// is taken as found; a face the detector missed twice in a row is dropped.
void mergeDetections(const dlib::shape_predictor* model, const dlib::array2d<unsigned char>& grey, double scale,
                     const std::vector<FaceShape>& found, std::vector<FaceShape>* faces, std::vector<FaceShape>* targets,
                     std::vector<int>* misses, std::vector<FacePoint>* velocities) {
    targets->resize(faces->size());
    misses->resize(faces->size(), 0);
    velocities->resize(faces->size());
    std::vector<bool> matched(faces->size(), false);
    std::vector<FaceShape> fresh;
    for (const FaceShape& f : found) {
        size_t best = faces->size();
        float best_overlap = 0.3f;
        for (size_t i = 0; i < faces->size(); ++i)
            if (float o = overlap(f, (*faces)[i]); !matched[i] && o > best_overlap) best = i, best_overlap = o;
        if (best == faces->size()) {
            fresh.push_back(f);
            continue;
        }
        matched[best] = true;
        (*targets)[best] = f;
        (*misses)[best] = 0;
    }
    std::vector<FaceShape> kept_faces, kept_targets;
    std::vector<int> kept_misses;
    std::vector<FacePoint> kept_velocities;
    for (size_t i = 0; i < faces->size(); ++i) {
        if (!matched[i] && ++(*misses)[i] >= 2) continue;
        kept_faces.push_back((*faces)[i]);
        kept_velocities.push_back((*velocities)[i]);
        kept_targets.push_back(matched[i] ? (*targets)[i] : (*faces)[i]);
        kept_misses.push_back((*misses)[i]);
    }
    if (model) fitAll(*model, grey, scale, &fresh);
    for (const FaceShape& f : fresh) {
        kept_faces.push_back(f);
        kept_targets.push_back(f);
        kept_misses.push_back(0);
        kept_velocities.push_back(FacePoint{});
    }
    *faces = std::move(kept_faces);
    *targets = std::move(kept_targets);
    *misses = std::move(kept_misses);
    *velocities = std::move(kept_velocities);
}

// Moves each face, landmarks and box, as far as it moved over the last picture.
void glide(std::vector<FaceShape>* faces, std::vector<FaceShape>* targets, const std::vector<FacePoint>& motion) {
    for (size_t i = 0; i < faces->size() && i < motion.size(); ++i) {
        FaceShape& f = (*faces)[i];
        const FacePoint m = motion[i];
        moveBox(&f, m.x, m.y);
        for (FacePoint& p : f.points) p.x += m.x, p.y += m.y;
        if (i < targets->size()) {
            moveBox(&(*targets)[i], m.x, m.y);
            easeTowards(&f, (*targets)[i]);
        }
    }
}

}  // namespace

std::vector<FaceShape> FaceTracker::track(const uint8_t* bgra, int width, int height, int stride, int64_t time_us) {
    State& s = *state_;
    if (width <= 0 || height <= 0) return {};
    const double scale = detectionScale(width, height);
    greyCopy(bgra, width, height, stride, scale, &s.source_x, &s.grey);
    std::shared_ptr<const dlib::shape_predictor> model = landmarkModel();

    bool jumped = s.last_us == INT64_MIN || time_us < s.last_us || time_us - s.last_us > 500000 || width != s.width || height != s.height;
    s.last_us = time_us;
    s.width = width, s.height = height;
    const bool in_step = s.detection == FaceDetection::InStep;
    const bool fresh = s.since_detection < 0 || jumped;
    if (fresh || (in_step && ++s.since_detection >= kDetectEvery)) {
        // On this picture, now: the first one, the one after a jump, and every few in an export.
        std::unique_lock lock(s.mutex);
        s.wake.wait(lock, [&] { return !s.asked; });   // the detector is ours again
        s.answered = false;
        lock.unlock();
        if (fresh) s.faces.clear(), s.targets.clear(), s.misses.clear(), s.velocities.clear();
        else if (model) follow(*model, s.grey, scale, &s.faces, &s.targets, &s.velocities);
        else easeAll(&s.faces, s.targets);
        std::vector<FaceShape> found;
        for (const dlib::rectangle& r : s.detector(s.grey)) found.push_back(fromGrey(r, scale));
        mergeDetections(model.get(), s.grey, scale, found, &s.faces, &s.targets, &s.misses, &s.velocities);
        s.motion.clear();
        s.since_detection = 0;
        return s.faces;
    }
    if (in_step) {
        if (model) follow(*model, s.grey, scale, &s.faces, &s.targets, &s.velocities);
        else easeAll(&s.faces, s.targets);
        return s.faces;
    }

    ++s.since_detection;
    std::unique_lock lock(s.mutex);
    if (s.answered) {
        // The faces found some pictures ago, moved as far as the faces they match have moved since.
        s.answered = false;
        std::vector<FaceShape> faces;
        for (const dlib::rectangle& r : s.found) {
            FaceShape f = fromGrey(r, scale);
            size_t best = s.faces_then.size();
            float best_overlap = 0.3f;
            for (size_t i = 0; i < s.faces_then.size() && i < s.faces.size(); ++i)
                if (float o = overlap(f, s.faces_then[i]); o > best_overlap) best = i, best_overlap = o;
            if (best < s.faces_then.size()) {
                FacePoint then = centre(s.faces_then[best]), now = centre(s.faces[best]);
                f.left += now.x - then.x, f.right += now.x - then.x;
                f.top += now.y - then.y, f.bottom += now.y - then.y;
            }
            faces.push_back(f);
        }
        lock.unlock();
        if (model) follow(*model, s.grey, scale, &s.faces, &s.targets, &s.velocities);
        else easeAll(&s.faces, s.targets);
        mergeDetections(model.get(), s.grey, scale, faces, &s.faces, &s.targets, &s.misses, &s.velocities);
        s.motion.clear();
        s.since_detection = 0;
        return s.faces;
    }
    lock.unlock();
    // Landmarks are fitted on every other picture; in between the faces keep their last move,
    // which at preview rates is within a pixel or two of where a fit would put them.
    if (model && s.since_detection % 2 == 1 && s.motion.size() == s.faces.size()) glide(&s.faces, &s.targets, s.motion);
    else if (model) follow(*model, s.grey, scale, &s.faces, &s.targets, &s.velocities, &s.motion);
    else easeAll(&s.faces, s.targets);
    lock.lock();
    if (s.since_detection >= kDetectEvery && !s.asked) {
        // The worker looks at this picture; the faces as followed onto it are kept to match.
        dlib::assign_image(s.detect_grey, s.grey);
        s.faces_then = s.faces;
        s.asked = true;
        if (!s.worker.joinable()) s.worker = std::thread([&s] { s.work(); });
        s.wake.notify_all();
    }
    return s.faces;
}

}  // namespace kestrel::editing
