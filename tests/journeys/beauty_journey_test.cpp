// Face beauty from a loaded picture with faces, and from a clip made of it, to exports through
// the window's controls (smoothing and brightening typed into their fields). The photo of dlib's
// examples is laid on a grey picture made here, so the faces are where its labels put them,
// moved. The retouch shows inside the faces and nowhere else; the clip keeps its frame rate and
// every one of its frames.
#include "tests/journeys/single_clip_journey_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/beauty/beauty_window_controller.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace kt = kestrel::test;
using beauty::BeautyWindowController;

namespace {

const QString kFaces = QStringLiteral("/usr/share/doc/libdlib19.1/examples/faces");
const QString kPhoto = QStringLiteral("2008_002506.jpg");   // three faces of about 100 pixels
constexpr int kW = 640, kH = 480;
constexpr int kAtX = 40, kAtY = 30;   // where the photo lies on the picture

struct Box {
    int left, top, width, height;
};

// The labelled face boxes of the photo, moved to where it lies on the picture.
std::vector<Box> faceBoxes() {
    QFile xml(kFaces + "/testing.xml");
    if (!xml.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromLatin1(xml.readAll());
    const int at = text.indexOf("file='" + kPhoto + "'");
    if (at < 0) return {};
    const QString block = text.mid(at, text.indexOf("</image>", at) - at);
    std::vector<Box> boxes;
    static const QRegularExpression box("<box top='(\\d+)' left='(\\d+)' width='(\\d+)' height='(\\d+)'");
    for (auto it = box.globalMatch(block); it.hasNext();) {
        const auto m = it.next();
        boxes.push_back(Box{m.captured(2).toInt() + kAtX, m.captured(1).toInt() + kAtY, m.captured(3).toInt(), m.captured(4).toInt()});
    }
    return boxes;
}

bool insideGrown(const std::vector<Box>& boxes, int x, int y, double grow) {
    for (const Box& b : boxes) {
        const double gx = b.width * grow, gy = b.height * grow;
        if (x >= b.left - gx && x < b.left + b.width + gx && y >= b.top - gy && y < b.top + b.height + gy) return true;
    }
    return false;
}

struct Differences {
    double outside = 0;               // largest mean difference of a 16-pixel tile clear of the faces
    double outsideMean = 0;           // mean difference over everything clear of the faces
    std::vector<double> insideFaces;  // mean difference inside each face's box
};

// Output against source, both decoded by ffmpeg at the picture size.
Differences differences(const std::string& output, const std::string& source, double time_s, const std::vector<Box>& boxes) {
    const std::vector<unsigned char> a = kt::decodeFrameRGB(output, time_s, kW, kH);
    const std::vector<unsigned char> b = kt::decodeFrameRGB(source, time_s, kW, kH);
    Differences d;
    double tiles = 0;
    if (a.size() != b.size() || a.empty()) return {1e9, {}};
    auto diff = [&](int x, int y) {
        const size_t i = (size_t(y) * kW + x) * 3;
        return (std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2])) / 3.0;
    };
    for (int ty = 0; ty + 16 <= kH; ty += 16)
        for (int tx = 0; tx + 16 <= kW; tx += 16) {
            if (insideGrown(boxes, tx, ty, 0.5) || insideGrown(boxes, tx + 15, ty + 15, 0.5) ||
                insideGrown(boxes, tx + 15, ty, 0.5) || insideGrown(boxes, tx, ty + 15, 0.5))
                continue;
            double sum = 0;
            for (int y = ty; y < ty + 16; ++y)
                for (int x = tx; x < tx + 16; ++x) sum += diff(x, y);
            d.outside = std::max(d.outside, sum / 256);
            d.outsideMean += sum;
            tiles += 256;
        }
    d.outsideMean /= std::max(1.0, tiles);
    for (const Box& box : boxes) {
        double sum = 0;
        for (int y = box.top; y < box.top + box.height; ++y)
            for (int x = box.left; x < box.left + box.width; ++x) sum += diff(x, y);
        d.insideFaces.push_back(sum / (box.width * box.height));
    }
    return d;
}

// Smoothing and brightening typed into their fields.
void retouch(BeautyWindowController& w) {
    kt::typeInto(w.fields[0], QStringLiteral("100"), kt::Commit::Return);
    kt::typeInto(w.fields[1], QStringLiteral("60"), kt::Commit::Return);
    EXPECT_EQ(w.sliders[0]->value(), 100);
    EXPECT_EQ(w.sliders[1]->value(), 60);
}

}  // namespace

TEST(BeautyJourney, FacesRetouchedAndNothingElseInAPictureAndAClip) {
    if (!QFile::exists(kFaces + "/" + kPhoto)) GTEST_SKIP() << "dlib's example faces are not installed";
    const std::vector<Box> boxes = faceBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    kt::TempDir dir;
    const std::string picture = dir.file("faces.png");
    {
        QImage canvas(kW, kH, QImage::Format_RGB32);
        canvas.fill(QColor(96, 96, 96));
        QPainter(&canvas).drawImage(kAtX, kAtY, QImage(kFaces + "/" + kPhoto));
        ASSERT_TRUE(canvas.save(QString::fromStdString(picture)));
    }
    const std::string clip = dir.file("faces.mp4");
    ASSERT_EQ(kt::runCommand("ffmpeg -v error -y -loop 1 -framerate 25 -i '" + picture +
                             "' -t 1 -c:v libx264 -qp 0 -pix_fmt yuv444p '" + clip + "'"),
              0);

    // The picture.
    {
        BeautyWindowController w;
        w.setVideoPath(QString::fromStdString(picture));
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY_WITH_TIMEOUT(w.faceModelSettled(), 60000);
        retouch(w);
        const std::string folder = dir.path() + "/picture";
        QDir().mkpath(QString::fromStdString(folder));
        const std::string out = kt::journey::exportThroughDialog(w, folder);
        ASSERT_FALSE(out.empty());
        EXPECT_TRUE(kt::decodesCleanly(out));
        const kt::ProbedMedia probed = kt::ffprobe(out);
        ASSERT_NE(probed.firstOf("video"), nullptr);
        EXPECT_EQ(probed.firstOf("video")->codec, "png");
        EXPECT_EQ(probed.firstOf("video")->width, kW);
        EXPECT_EQ(probed.firstOf("video")->height, kH);
        const Differences d = differences(out, picture, 0, boxes);
        EXPECT_LT(d.outside, 1.0) << "changed outside the faces";
        ASSERT_EQ(d.insideFaces.size(), boxes.size());
        for (size_t i = 0; i < boxes.size(); ++i) EXPECT_GT(d.insideFaces[i], 2.0) << "face " << i << " not retouched";
        EXPECT_TRUE(kt::closeWindow(&w));
    }

    // The clip: 25 frames a second in, 25 out, each of its 25 pictures once.
    BeautyWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY_WITH_TIMEOUT(w.faceModelSettled(), 60000);
    retouch(w);
    const std::string folder = dir.path() + "/clip";
    QDir().mkpath(QString::fromStdString(folder));
    const std::string out = kt::journey::exportThroughDialog(w, folder);
    ASSERT_FALSE(out.empty());
    EXPECT_TRUE(kt::decodesCleanly(out));
    const kt::ProbedMedia probed = kt::ffprobe(out, true);
    const kt::ProbedStream* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->avg_frame_rate, "25/1");
    EXPECT_EQ(video->frames, 25);
    for (double t : {0.1, 0.9}) {
        const Differences d = differences(out, clip, t, boxes);
        // The clip is coded in 4:2:0 at a bit rate, so fine detail everywhere moves a little; the
        // retouch shows as a change inside every face well above that.
        EXPECT_LT(d.outsideMean, 2.0) << "changed outside the faces at " << t << " s";
        ASSERT_EQ(d.insideFaces.size(), boxes.size());
        for (size_t i = 0; i < boxes.size(); ++i)
            EXPECT_GT(d.insideFaces[i], d.outsideMean + 2.0) << "face " << i << " at " << t << " s";
    }
    EXPECT_TRUE(kt::closeWindow(&w));
}
