// Faces followed through a video as an export draws it (dlib's example photo of three faces,
// panned one pixel a picture): the boxes the retouch is weighted by and the landmarks the shapes
// follow move with the picture, with no step where the detector runs again (the boxes used to jump to the
// detector's by up to 18 pixels there, the landmarks refitted from them by up to 22); the
// fitter's own jitter on one of the faces stays within a few pixels.
#include "engine/editing/face_model.h"
#include "engine/editing/face_tracker.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel::editing;

namespace {

const QString kPhoto = QStringLiteral("/usr/share/doc/libdlib19.1/examples/faces/2008_002506.jpg");
constexpr char kModel[] = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";

// The photo, scaled by `scale`, drawn on a grey picture of the given size with its top left
// corner at (x, y).
QImage pictureWithPhoto(int width, int height, double scale, int x, int y) {
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(QColor(96, 96, 96));
    QImage photo = QImage(kPhoto).convertToFormat(QImage::Format_ARGB32);
    if (scale != 1.0) photo = photo.scaled(int(photo.width() * scale), int(photo.height() * scale), Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation);
    QPainter(&picture).drawImage(x, y, photo);
    return picture;
}

std::vector<FaceShape> facesOf(FaceTracker& tracker, const QImage& picture, int64_t time_us) {
    return tracker.track(picture.constBits(), picture.width(), picture.height(), int(picture.bytesPerLine()), time_us);
}

// The face of `faces` whose box centre is nearest to (x, y).
const FaceShape* nearest(const std::vector<FaceShape>& faces, float x, float y) {
    const FaceShape* best = nullptr;
    float best_distance = 1e9f;
    for (const FaceShape& f : faces) {
        const float d = std::hypot((f.left + f.right) / 2 - x, (f.top + f.bottom) / 2 - y);
        if (d < best_distance) best = &f, best_distance = d;
    }
    return best;
}

class FaceTracking : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kPhoto)) GTEST_SKIP() << "dlib's example faces are not installed";
        model_ = QFile::exists(kModel) && loadFaceModel(kModel);
    }
    void TearDown() override {
        if (model_) releaseFaceModel();
    }
    bool model_ = false;
};

TEST_F(FaceTracking, BoxesAndLandmarksMoveWithAPannedPictureWithoutAStepAtADetection) {
    FaceTracker tracker(FaceDetection::InStep);
    const int pictures = 3 * FaceTracker::kDetectEvery + 2;
    std::vector<std::vector<FaceShape>> followed;
    for (int k = 0; k < pictures; ++k)
        followed.push_back(facesOf(tracker, pictureWithPhoto(640, 480, 1.0, 70 - k, 50), int64_t(k) * 40000));
    ASSERT_GE(followed[0].size(), 3u);

    // Each face's step from one picture to the next, less the picture's own (one pixel left).
    float largest_box_step = 0, largest_point_step = 0;
    int at_box = -1, at_point = -1;
    for (int k = 1; k < pictures; ++k) {
        for (const FaceShape& before : followed[k - 1]) {
            const FaceShape* after = nearest(followed[k], (before.left + before.right) / 2 - 1, (before.top + before.bottom) / 2);
            ASSERT_NE(after, nullptr) << "a face was lost at picture " << k;
            for (float step : {after->left - before.left + 1, after->right - before.right + 1, after->top - before.top,
                               after->bottom - before.bottom})
                if (std::abs(step) > largest_box_step) largest_box_step = std::abs(step), at_box = k;
            if (!model_ || !before.has_landmarks || !after->has_landmarks) continue;
            for (size_t i = 0; i < before.points.size(); ++i) {
                const float step =
                    std::hypot(after->points[i].x - before.points[i].x + 1, after->points[i].y - before.points[i].y);
                if (step > largest_point_step) largest_point_step = step, at_point = k;
            }
        }
    }
    EXPECT_LE(largest_box_step, 2.5f) << "at picture " << at_box;
    if (model_) {
        EXPECT_LE(largest_point_step, 5.0f) << "at picture " << at_point;
    }
}

}  // namespace
