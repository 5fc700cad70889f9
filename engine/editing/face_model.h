#pragma once
// The face model of the beauty effects: dlib's built-in HOG face detector (always there) and
// the 68-point landmark model loaded from a file. One process-wide model, loaded and released
// in pairs; renders hold what they took, so a release never pulls it from under a running job.
#include <memory>
#include <string>

namespace dlib {
class shape_predictor;
}

namespace kestrel::editing {

// Loads the landmark model (a second load of the same file only counts). False when the file
// is missing or not a landmark model; the box-based effects work without it.
bool loadFaceModel(const std::string& path);
// Undoes one load; the model goes with the last.
void releaseFaceModel();
// The landmark model now loaded, or null.
std::shared_ptr<const dlib::shape_predictor> landmarkModel();

}  // namespace kestrel::editing
