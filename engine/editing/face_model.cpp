#include "engine/editing/face_model.h"

#include <dlib/image_processing/shape_predictor.h>
#include <dlib/serialize.h>

#include <fstream>
#include <mutex>

namespace kestrel::editing {

namespace {
struct ModelState {
    std::mutex mutex;
    std::shared_ptr<const dlib::shape_predictor> model;
    std::string path;
    int loads = 0;
};
ModelState& state() {
    static ModelState s;
    return s;
}
}  // namespace

bool loadFaceModel(const std::string& path) {
    ModelState& s = state();
    std::lock_guard lock(s.mutex);
    if (s.model && s.path == path) {
        ++s.loads;
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in) return false;
    auto model = std::make_shared<dlib::shape_predictor>();
    try {
        dlib::deserialize(*model, in);
    } catch (const std::exception&) {
        return false;
    }
    if (model->num_parts() != 68) return false;
    s.model = std::move(model);
    s.path = path;
    s.loads = 1;
    return true;
}

void releaseFaceModel() {
    ModelState& s = state();
    std::lock_guard lock(s.mutex);
    if (s.loads > 0 && --s.loads == 0) {
        s.model.reset();
        s.path.clear();
    }
}

std::shared_ptr<const dlib::shape_predictor> landmarkModel() {
    ModelState& s = state();
    std::lock_guard lock(s.mutex);
    return s.model;
}

}  // namespace kestrel::editing
