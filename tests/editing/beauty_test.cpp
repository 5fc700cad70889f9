// Face beauty: each effect on an injected face box and landmarks (exact regions, every effect
// alone), the real detector on a picture without a face, the setters' ranges and the export's
// refusal of the shape effects without the landmark model. Real faces: beauty_faces_test.cpp.
#include "engine/editing/beauty_effects.h"
#include "engine/editing/face_model.h"
#include "engine/editing/face_tracker.h"
#include "engine/editing/rdve.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel::editing;
using namespace kestrel::test;

namespace {

constexpr char kLandmarkModel[] = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";

// A textured picture (the test pattern with fine noise), BGRA.
std::vector<uint8_t> texturedPicture(int w, int h) {
    std::vector<uint8_t> bgra(static_cast<size_t>(w) * h * 4);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            int noise = int((seed >> 16) % 41) - 20;
            uint8_t* p = &bgra[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = uint8_t(std::clamp(100 + (x * 3 % 60) + noise, 0, 255));
            p[1] = uint8_t(std::clamp(120 + (y * 2 % 50) + noise, 0, 255));
            p[2] = uint8_t(std::clamp(160 + ((x + y) % 40) + noise, 0, 255));
            p[3] = 255;
        }
    return bgra;
}

// A face box with landmarks where dlib's 68-point layout puts them on an upright face.
FaceShape injectedFace(float left, float top, float size, bool landmarks) {
    FaceShape f;
    f.left = left, f.top = top, f.right = left + size, f.bottom = top + size;
    if (!landmarks) return f;
    f.has_landmarks = true;
    float cx = left + size / 2, cy = top + size / 2;
    for (int i = 0; i <= 16; ++i) {   // jaw, ear to ear under the chin
        double a = M_PI * (1.0 - i / 16.0);
        f.points[i] = FacePoint{float(cx + std::cos(a) * size * 0.45), float(cy + std::abs(std::sin(a)) * size * 0.45 - size * 0.05)};
    }
    for (int i = 27; i <= 35; ++i) f.points[i] = FacePoint{cx, cy - size * 0.1f + (i - 27) * size * 0.03f};
    f.points[30] = FacePoint{cx, cy + size * 0.08f};
    auto eye = [&](int from, float ex) {
        for (int k = 0; k < 6; ++k) {
            double a = 2 * M_PI * k / 6;
            f.points[from + k] = FacePoint{float(ex + std::cos(a + M_PI) * size * 0.08), float(cy - size * 0.12 + std::sin(a) * size * 0.03)};
        }
    };
    eye(36, cx - size * 0.2f);
    eye(42, cx + size * 0.2f);
    return f;
}

// Sum of squared differences between neighbours inside a rectangle: the fine detail.
double detailEnergy(const std::vector<uint8_t>& bgra, int w, int x0, int y0, int x1, int y1) {
    double e = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x + 1 < x1; ++x)
            for (int k = 0; k < 3; ++k) {
                double d = double(bgra[(size_t(y) * w + x) * 4 + k]) - bgra[(size_t(y) * w + x + 1) * 4 + k];
                e += d * d;
            }
    return e;
}

double meanChannel(const std::vector<uint8_t>& bgra, int w, int x0, int y0, int x1, int y1, int channel) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += bgra[(size_t(y) * w + x) * 4 + channel];
    return sum / double((x1 - x0) * (y1 - y0));
}

// Counts pixels that differ outside every face region.
int changedOutside(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int w, int h,
                   const std::vector<FaceShape>& faces) {
    int changed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool inside = false;
            for (const FaceShape& f : faces) {
                PixelRegion r = faceRegion(f, w, h);
                inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            }
            if (!inside && std::memcmp(&a[(size_t(y) * w + x) * 4], &b[(size_t(y) * w + x) * 4], 4) != 0) ++changed;
        }
    return changed;
}

struct EffectCase {
    const char* name;
    BeautySettings settings;
    bool landmarks;
    bool changes_face;
};

class BeautyEffectTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(BeautyEffectTest, ChangesOnlyTheFaceRegion) {
    const EffectCase& c = GetParam();
    const int w = 640, h = 480;
    std::vector<uint8_t> before = texturedPicture(w, h);
    std::vector<FaceShape> faces = {injectedFace(200, 120, 200, c.landmarks), injectedFace(40, 40, 80, c.landmarks)};
    std::vector<uint8_t> after = before;
    applyBeauty(after.data(), w, h, w * 4, faces, c.settings);
    EXPECT_EQ(changedOutside(before, after, w, h, faces), 0) << c.name;
    const FaceShape& big = faces[0];
    int x0 = int(big.left) + 50, y0 = int(big.top) + 50, x1 = int(big.right) - 50, y1 = int(big.bottom) - 50;
    bool changed = std::memcmp(before.data(), after.data(), before.size()) != 0;
    EXPECT_EQ(changed, c.changes_face) << c.name;
    if (c.settings.blur > 0)
        EXPECT_LT(detailEnergy(after, w, x0, y0, x1, y1), 0.6 * detailEnergy(before, w, x0, y0, x1, y1));
    if (c.settings.bright > 0)
        EXPECT_GT(meanChannel(after, w, x0, y0, x1, y1, 1), meanChannel(before, w, x0, y0, x1, y1, 1) + 10);
    if (c.settings.tone > 0 && c.settings.bright == 0)
        EXPECT_GT(meanChannel(after, w, x0, y0, x1, y1, 2) - meanChannel(before, w, x0, y0, x1, y1, 2),
                  meanChannel(after, w, x0, y0, x1, y1, 0) - meanChannel(before, w, x0, y0, x1, y1, 0) + 3);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, BeautyEffectTest,
    ::testing::Values(EffectCase{"smoothing", {100, 0, 0, 0, 0}, false, true},
                      EffectCase{"brightening", {0, 80, 0, 0, 0}, false, true},
                      EffectCase{"tone", {0, 0, 90, 0, 0}, false, true},
                      EffectCase{"slimming", {0, 0, 0, 100, 0}, true, true},
                      EffectCase{"widening", {0, 0, 0, -100, 0}, true, true},
                      EffectCase{"eyes", {0, 0, 0, 0, 100}, true, true},
                      EffectCase{"all", {60, 40, 30, 50, 50}, true, true},
                      EffectCase{"shape_without_landmarks", {0, 0, 0, 100, 100}, false, false},
                      EffectCase{"nothing", {0, 0, 0, 0, 0}, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaceTracker, ScalesDetectionCopiesIntoRange) {
    EXPECT_DOUBLE_EQ(FaceTracker::detectionScale(1920, 1080), 1.0);
    EXPECT_DOUBLE_EQ(FaceTracker::detectionScale(3840, 2160), 0.5);
    EXPECT_DOUBLE_EQ(FaceTracker::detectionScale(800, 600), 1.0);
    EXPECT_DOUBLE_EQ(FaceTracker::detectionScale(320, 240), 2.0);
    EXPECT_DOUBLE_EQ(FaceTracker::detectionScale(1080, 1920), 1.0);
}

TEST(FaceTracker, FindsNoFaceInATestPattern) {
    const int w = 1280, h = 720;
    std::vector<uint8_t> picture = texturedPicture(w, h);
    FaceTracker tracker;
    for (int i = 0; i < FaceTracker::kDetectEvery + 2; ++i)
        EXPECT_TRUE(tracker.track(picture.data(), w, h, w * 4, i * 33333).empty());
}

TEST(FaceModel, LoadsThePackagedModelAndRefusesOtherFiles) {
    TempDir dir;
    EXPECT_EQ(rdVEDlibFaceInit2((dir.path() + "/none.dat").c_str()), -12);
    EXPECT_EQ(rdVEDlibFaceInit2(nullptr), -12);
    std::string junk = dir.path() + "/junk.dat";
    writeBytes(junk, "not a model at all");
    EXPECT_EQ(rdVEDlibFaceInit2(junk.c_str()), -12);
    EXPECT_EQ(landmarkModel(), nullptr);
    if (!QFile::exists(kLandmarkModel)) GTEST_SKIP() << "libdlib-data is not installed";
    EXPECT_EQ(rdVEDlibFaceInit2(kLandmarkModel), 1);
    EXPECT_NE(landmarkModel(), nullptr);
    EXPECT_EQ(rdVEDlibFaceUnInit(), 1);
    EXPECT_EQ(landmarkModel(), nullptr);
}

void* beautyExport(const std::string& clip, const std::string& out, const BeautySettings& s) {
    void* video = rdVEVirtualVideoCreate();
    EXPECT_EQ(rdVESetFrameSize(video, 320, 240), 1);
    void* scene = rdVECreateScene(0, 1000000);
    void* media = rdVESceneAddMedia(scene, clip.c_str());
    EXPECT_NE(media, nullptr);
    EXPECT_EQ(rdVESetMediaBeautyBlurIntensity(media, s.blur), 1);
    EXPECT_EQ(rdVESetMediaBeautyBrightIntensity(media, s.bright), 1);
    EXPECT_EQ(rdVESetMediaBeautyToneIntensity(media, s.tone), 1);
    EXPECT_EQ(rdVESetMediaThinFaceIntensity(media, s.thin), 1);
    EXPECT_EQ(rdVESetMediaBigEyeIntensity(media, s.eye), 1);
    EXPECT_EQ(rdVEAddScene(video, scene), 1);
    EXPECT_EQ(rdVESetOutPath(video, out.c_str()), 1);
    EXPECT_EQ(rdVEEditMediaInit(video), 1);
    return video;
}

TEST(BeautyExport, SettersKeepTheirRanges) {
    TempDir dir;
    std::string clip = dir.path() + "/clip.mp4";
    makeMedia(clip, FixtureSpec{});
    void* scene = rdVECreateScene(0, 1000000);
    void* media = rdVESceneAddMedia(scene, clip.c_str());
    ASSERT_NE(media, nullptr);
    struct Range {
        int32_t (*set)(void*, int32_t);
        int low, high;
    } ranges[] = {{rdVESetMediaBeautyBlurIntensity, 0, 100}, {rdVESetMediaBeautyBrightIntensity, 0, 100},
                  {rdVESetMediaBeautyToneIntensity, 0, 100}, {rdVESetMediaThinFaceIntensity, -100, 100},
                  {rdVESetMediaBigEyeIntensity, -100, 100}};
    for (const Range& r : ranges) {
        EXPECT_EQ(r.set(media, r.low), 1);
        EXPECT_EQ(r.set(media, r.high), 1);
        EXPECT_LT(r.set(media, r.low - 1), 0);
        EXPECT_LT(r.set(media, r.high + 1), 0);
        EXPECT_LT(r.set(nullptr, 0), 0);
    }
    EXPECT_EQ(rdVEDeleteScene(scene), 1);
}

TEST(BeautyExport, ShapeEffectsWithoutTheModelFailWithACodeAndNoFile) {
    ASSERT_EQ(landmarkModel(), nullptr);
    TempDir dir;
    std::string clip = dir.path() + "/clip.mp4";
    makeMedia(clip, FixtureSpec{});
    std::string out = dir.path() + "/out.mp4";
    void* video = beautyExport(clip, out, BeautySettings{0, 0, 0, 40, 0});
    EXPECT_EQ(rdVEEditMedia(video), -12);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
    rdVEVirtualVideoDestory(video);
}

TEST(BeautyExport, BoxEffectsLeaveAPictureWithoutFacesAsItWas) {
    TempDir dir;
    std::string clip = dir.path() + "/clip.mp4";
    FixtureSpec spec;
    spec.duration_s = 1.0;
    makeMedia(clip, spec);
    std::string plain = dir.path() + "/plain.mp4", retouched = dir.path() + "/retouched.mp4";
    void* a = beautyExport(clip, plain, BeautySettings{});
    ASSERT_EQ(rdVEEditMedia(a), 1);
    rdVEVirtualVideoDestory(a);
    void* b = beautyExport(clip, retouched, BeautySettings{100, 100, 100, 0, 0});
    ASSERT_EQ(rdVEEditMedia(b), 1);
    rdVEVirtualVideoDestory(b);
    ProbedMedia probed = ffprobe(retouched);
    ASSERT_TRUE(probed.ok);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->width, 320);
    // The retouch works on RGB pictures, so its export carries one YUV-RGB-YUV round trip (about
    // one level a channel) that an export without it no longer has: anything beyond that is a change.
    EXPECT_LT(meanAbsDiff(decodeFrameRGB(plain, 0.5, 0, 0), decodeFrameRGB(retouched, 0.5, 0, 0)), 1.5);
}

}  // namespace
