// Face beauty on the labelled face photos that Debian's dlib packages install (libdlib19.1,
// pulled in by libdlib-dev, ships them with its examples): the detector finds the faces where
// the labels put them, a retouched export changes nothing outside the faces and smooths them,
// and a short clip made from a photo exports with every effect.
#include "engine/editing/face_model.h"
#include "engine/editing/face_tracker.h"
#include "engine/editing/rdve.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kestrel::editing;
using namespace kestrel::test;

namespace {

const QString kFaces = QStringLiteral("/usr/share/doc/libdlib19.1/examples/faces");
constexpr char kModel[] = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";
constexpr char kPhoto[] = "2008_002506.jpg";   // three faces of about 100 pixels

struct Box {
    int left, top, width, height;
};

// The labelled boxes of one photo from the examples' testing.xml.
std::vector<Box> labelledBoxes(const QString& file) {
    QFile xml(kFaces + "/testing.xml");
    if (!xml.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromLatin1(xml.readAll());
    int at = text.indexOf("file='" + file + "'");
    if (at < 0) return {};
    QString block = text.mid(at, text.indexOf("</image>", at) - at);
    std::vector<Box> boxes;
    static const QRegularExpression box("<box top='(\\d+)' left='(\\d+)' width='(\\d+)' height='(\\d+)'");
    for (auto it = box.globalMatch(block); it.hasNext();) {
        auto m = it.next();
        boxes.push_back(Box{m.captured(2).toInt(), m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt()});
    }
    return boxes;
}

class LabelledFaces : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kFaces + "/" + kPhoto)) GTEST_SKIP() << "dlib's example faces are not installed";
        boxes_ = labelledBoxes(kPhoto);
        ASSERT_EQ(boxes_.size(), 3u);
        photo_ = QImage(kFaces + "/" + kPhoto).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(photo_.isNull());
        model_ = QFile::exists(kModel) && loadFaceModel(kModel);
    }
    void TearDown() override {
        if (model_) releaseFaceModel();
    }

    // Exports the photo (or a clip) with the values through the engine, as the beauty tool does.
    int32_t exportWith(const std::string& input, const std::string& out, int w, int h, int64_t length_us,
                       const BeautySettings& s) {
        void* video = rdVEVirtualVideoCreate();
        EXPECT_EQ(rdVESetFrameSize(video, w, h), 1);
        void* scene = rdVECreateScene(0, length_us);
        void* media = rdVESceneAddMedia(scene, input.c_str());
        EXPECT_NE(media, nullptr);
        rdVESetMediaBeautyBlurIntensity(media, s.blur);
        rdVESetMediaBeautyBrightIntensity(media, s.bright);
        rdVESetMediaBeautyToneIntensity(media, s.tone);
        rdVESetMediaThinFaceIntensity(media, s.thin);
        rdVESetMediaBigEyeIntensity(media, s.eye);
        EXPECT_EQ(rdVEAddScene(video, scene), 1);
        EXPECT_EQ(rdVESetOutPath(video, out.c_str()), 1);
        EXPECT_EQ(rdVEEditMediaInit(video), 1);
        int32_t rc = rdVEEditMedia(video);
        rdVEVirtualVideoDestory(video);
        return rc;
    }

    bool insideAGrownBox(int x, int y, double grow) const {
        for (const Box& b : boxes_) {
            double gx = b.width * grow, gy = b.height * grow;
            if (x >= b.left - gx && x < b.left + b.width + gx && y >= b.top - gy && y < b.top + b.height + gy) return true;
        }
        return false;
    }

    std::vector<Box> boxes_;
    QImage photo_;
    bool model_ = false;
};

TEST_F(LabelledFaces, DetectorFindsEveryLabelledFace) {
    FaceTracker tracker;
    std::vector<FaceShape> faces =
        tracker.track(photo_.constBits(), photo_.width(), photo_.height(), int(photo_.bytesPerLine()), 0);
    ASSERT_GE(faces.size(), boxes_.size());
    for (const Box& b : boxes_) {
        bool found = false;
        for (const FaceShape& f : faces) {
            float cx = (f.left + f.right) / 2, cy = (f.top + f.bottom) / 2;
            bool centred = cx > b.left && cx < b.left + b.width && cy > b.top && cy < b.top + b.height;
            bool sized = (f.right - f.left) > 0.6 * b.width && (f.right - f.left) < 1.6 * b.width;
            if (centred && sized) {
                found = true;
                if (model_) {
                    EXPECT_TRUE(f.has_landmarks);
                    // The nose tip lies inside the labelled box.
                    EXPECT_GT(f.points[30].x, b.left);
                    EXPECT_LT(f.points[30].x, b.left + b.width);
                }
            }
        }
        EXPECT_TRUE(found) << "no face at " << b.left << "," << b.top;
    }
}

TEST_F(LabelledFaces, RetouchedPhotoChangesOnlyTheFacesAndSmoothsThem) {
    TempDir dir;
    std::string photo = (kFaces + "/" + kPhoto).toStdString();
    const int w = photo_.width() / 2 * 2, h = photo_.height() / 2 * 2;
    std::string plain = dir.path() + "/plain.png", retouched = dir.path() + "/retouched.png";
    ASSERT_EQ(exportWith(photo, plain, w, h, 5000000, BeautySettings{}), 1);
    BeautySettings all{100, 30, 30, model_ ? 60 : 0, model_ ? 60 : 0};
    ASSERT_EQ(exportWith(photo, retouched, w, h, 5000000, all), 1);
    QImage a(QString::fromStdString(plain)), b(QString::fromStdString(retouched));
    ASSERT_EQ(a.size(), QSize(w, h));
    ASSERT_EQ(b.size(), a.size());
    a = a.convertToFormat(QImage::Format_RGB32);
    b = b.convertToFormat(QImage::Format_RGB32);
    int changed_outside = 0, changed_inside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) (insideAGrownBox(x, y, 0.5) ? changed_inside : changed_outside)++;
    EXPECT_EQ(changed_outside, 0);
    EXPECT_GT(changed_inside, 1000);

    // Smoothing lowers the fine detail inside each labelled face.
    QImage smooth_only;
    std::string smoothed = dir.path() + "/smoothed.png";
    ASSERT_EQ(exportWith(photo, smoothed, w, h, 5000000, BeautySettings{100, 0, 0, 0, 0}), 1);
    smooth_only = QImage(QString::fromStdString(smoothed)).convertToFormat(QImage::Format_RGB32);
    auto detail = [](const QImage& img, const Box& box) {
        double e = 0;
        for (int y = box.top + box.height / 4; y < box.top + box.height * 3 / 4; ++y)
            for (int x = box.left + box.width / 4; x < box.left + box.width * 3 / 4; ++x) {
                QRgb p = img.pixel(x, y), q = img.pixel(x + 1, y);
                e += std::pow(qGreen(p) - qGreen(q), 2) + std::pow(qRed(p) - qRed(q), 2);
            }
        return e;
    };
    for (const Box& box : boxes_) EXPECT_LT(detail(smooth_only, box), 0.8 * detail(a, box)) << box.left;
}

TEST_F(LabelledFaces, ClipMadeFromThePhotoExportsRetouched) {
    TempDir dir;
    std::string clip = dir.path() + "/faces.mp4";
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -nostdin -loop 1 -i '" + (kFaces + "/" + kPhoto).toStdString() +
                         "' -t 1 -r 25 -vf scale=500:374 -pix_fmt yuv420p -c:v libx264 '" + clip + "'"),
              0);
    std::string plain = dir.path() + "/plain.mp4", retouched = dir.path() + "/retouched.mp4";
    ASSERT_EQ(exportWith(clip, plain, 500, 374, 1000000, BeautySettings{}), 1);
    BeautySettings all{100, 40, 40, model_ ? 50 : 0, model_ ? 50 : 0};
    ASSERT_EQ(exportWith(clip, retouched, 500, 374, 1000000, all), 1);
    ProbedMedia probed = ffprobe(retouched, true);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->width, 500);
    EXPECT_NEAR(probed.firstOf("video")->frames, 30, 1);
    // Late frames too (tracked between detections): faces changed, the rest as it was.
    std::vector<unsigned char> p = decodeFrameRGB(plain, 0.8, 0, 0), r = decodeFrameRGB(retouched, 0.8, 0, 0);
    ASSERT_EQ(p.size(), r.size());
    double inside = 0, outside = 0;
    int n_in = 0, n_out = 0;
    for (int y = 0; y < 374; ++y)
        for (int x = 0; x < 500; ++x) {
            size_t i = (size_t(y) * 500 + x) * 3;
            double d = std::abs(p[i] - r[i]) + std::abs(p[i + 1] - r[i + 1]) + std::abs(p[i + 2] - r[i + 2]);
            if (insideAGrownBox(x, y, 0.5)) inside += d, ++n_in;
            else outside += d, ++n_out;
        }
    EXPECT_GT(inside / n_in, 4 * (outside / n_out) + 1.0);
    // Outside the faces only the retouch's RGB round trip (about one level in each of three
    // channels; the plain export is composed in YUV) may differ.
    EXPECT_LT(outside / n_out, 4.5);
}

}  // namespace
