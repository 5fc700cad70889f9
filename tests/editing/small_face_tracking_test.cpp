// Faces of about 90 pixels in a 1080p video, panned slowly (dlib's example photo of three faces,
// scaled down onto a 1920x1080 picture and moved one pixel a picture), as an export draws it:
// every face is found in every picture, so the retouch applies to each throughout, and the
// landmarks the shapes follow move with the picture without jitter between pictures.
#include "engine/editing/face_model.h"
#include "engine/editing/face_tracker.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kestrel::editing;

namespace {

const QString kPhoto = QStringLiteral("/usr/share/doc/libdlib19.1/examples/faces/2008_002506.jpg");
constexpr char kModel[] = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";
constexpr float kFaceHeightPx = 90;

QImage pictureWithPhoto(int width, int height, double scale, int x, int y) {
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(QColor(96, 96, 96));
    QImage photo = QImage(kPhoto).convertToFormat(QImage::Format_ARGB32);
    photo = photo.scaled(int(photo.width() * scale), int(photo.height() * scale), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter(&picture).drawImage(x, y, photo);
    return picture;
}

std::vector<FaceShape> facesOf(FaceTracker& tracker, const QImage& picture, int64_t time_us) {
    return tracker.track(picture.constBits(), picture.width(), picture.height(), int(picture.bytesPerLine()), time_us);
}

const FaceShape* nearest(const std::vector<FaceShape>& faces, float x, float y) {
    const FaceShape* best = nullptr;
    float best_distance = 1e9f;
    for (const FaceShape& f : faces) {
        const float d = std::hypot((f.left + f.right) / 2 - x, (f.top + f.bottom) / 2 - y);
        if (d < best_distance) best = &f, best_distance = d;
    }
    return best;
}

float heightOf(const FaceShape& f) { return f.bottom - f.top; }

}  // namespace

TEST(SmallFaceTracking, FacesOfNinetyPixelsIn1080pAreFollowedInEveryPictureWithoutJitter) {
    if (!QFile::exists(kPhoto) || !QFile::exists(kModel)) GTEST_SKIP() << "dlib's example faces or landmark model are not installed";
    ASSERT_TRUE(loadFaceModel(kModel));
    // The photo's faces at their own size, to scale them to about 90 pixels.
    FaceTracker photo_tracker(FaceDetection::InStep);
    const std::vector<FaceShape> in_photo = facesOf(photo_tracker, pictureWithPhoto(640, 480, 1.0, 70, 50), 0);
    ASSERT_GE(in_photo.size(), 3u);
    float smallest = 1e9f, largest = 0;
    for (const FaceShape& f : in_photo) smallest = std::min(smallest, heightOf(f)), largest = std::max(largest, heightOf(f));
    const double scale = kFaceHeightPx / largest;

    FaceTracker tracker(FaceDetection::InStep);
    const int pictures = 2 * FaceTracker::kDetectEvery + 2;  // across two detections
    std::vector<std::vector<FaceShape>> followed;
    for (int k = 0; k < pictures; ++k)
        followed.push_back(facesOf(tracker, pictureWithPhoto(1920, 1080, scale, 900 - k, 500), int64_t(k) * 40000));

    float largest_point_step = 0;
    int at_point = -1;
    for (int k = 0; k < pictures; ++k) {
        SCOPED_TRACE("picture " + std::to_string(k));
        ASSERT_EQ(followed[k].size(), in_photo.size());
        for (const FaceShape& f : followed[k]) {
            EXPECT_TRUE(f.has_landmarks);
            EXPECT_LE(heightOf(f), kFaceHeightPx * 1.3f);
        }
        if (k == 0) continue;
        for (const FaceShape& before : followed[k - 1]) {
            const FaceShape* after = nearest(followed[k], (before.left + before.right) / 2 - 1, (before.top + before.bottom) / 2);
            ASSERT_NE(after, nullptr);
            for (size_t i = 0; i < before.points.size(); ++i) {
                const float step = std::hypot(after->points[i].x - before.points[i].x + 1, after->points[i].y - before.points[i].y);
                if (step > largest_point_step) largest_point_step = step, at_point = k;
            }
        }
    }
    RecordProperty("largest_landmark_step_px", std::to_string(largest_point_step));
    EXPECT_LE(largest_point_step, 2.0f) << "at picture " << at_point << " (faces " << smallest * scale << " to " << kFaceHeightPx << " px)";
    releaseFaceModel();
}
