// Following faces while the detector works in the background (the live preview's way): on a
// slowly panned photo of dlib's labelled faces every labelled face is followed on every
// picture, before and after the background answers arrive. And the bands the retouching runs in
// cover every row once, also with several callers at once.
#include "engine/editing/face_model.h"
#include "engine/editing/face_tracker.h"
#include "engine/editing/row_bands.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace kestrel::editing;

namespace {

const QString kFaces = QStringLiteral("/usr/share/doc/libdlib19.1/examples/faces");
constexpr char kModel[] = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";

QList<QRect> labelledBoxes(const QString& file) {
    QFile xml(kFaces + "/testing.xml");
    if (!xml.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromLatin1(xml.readAll());
    int at = text.indexOf("file='" + file + "'");
    if (at < 0) return {};
    QString block = text.mid(at, text.indexOf("</image>", at) - at);
    QList<QRect> boxes;
    static const QRegularExpression box("<box top='(\\d+)' left='(\\d+)' width='(\\d+)' height='(\\d+)'");
    for (auto it = box.globalMatch(block); it.hasNext();) {
        auto m = it.next();
        boxes << QRect(m.captured(2).toInt(), m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    }
    return boxes;
}

TEST(FaceFollowing, BackgroundDetectionKeepsEveryFaceOnAPannedPhoto) {
    const QString photo_file = QStringLiteral("2008_002506.jpg");
    if (!QFile::exists(kFaces + "/" + photo_file)) GTEST_SKIP() << "dlib's example faces are not installed";
    const QList<QRect> boxes = labelledBoxes(photo_file);
    ASSERT_EQ(boxes.size(), 3);
    const bool model = QFile::exists(kModel) && loadFaceModel(kModel);
    const QImage photo = QImage(kFaces + "/" + photo_file).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(photo.isNull());
    FaceTracker tracker(FaceDetection::InBackground);
    // Long enough for several background answers to arrive and be taken over.
    const int pictures = FaceTracker::kDetectEvery * 5;
    for (int k = 0; k < pictures; ++k) {
        const QPoint offset(20 + k, 10 + k / 2);   // the photo moves right and down
        QImage picture(photo.width() + 100, photo.height() + 60, QImage::Format_ARGB32);
        picture.fill(Qt::black);
        QPainter(&picture).drawImage(offset, photo);
        std::vector<FaceShape> faces =
            tracker.track(picture.constBits(), picture.width(), picture.height(), int(picture.bytesPerLine()), k * 33333);
        for (const QRect& label : boxes) {
            const QRect box = label.translated(offset);
            bool followed = false;
            for (const FaceShape& f : faces) {
                const QPointF centre((f.left + f.right) / 2, (f.top + f.bottom) / 2);
                followed |= box.contains(centre.toPoint()) && (f.right - f.left) > 0.6 * box.width() &&
                            (f.right - f.left) < 1.6 * box.width() && (!model || f.has_landmarks);
            }
            EXPECT_TRUE(followed) << "picture " << k << ": no face at " << box.x() << "," << box.y();
        }
        // Let the worker get on with it as the preview's drawing would between pictures.
        std::this_thread::yield();
    }
    if (model) releaseFaceModel();
}

TEST(RowBands, EveryRowOnceForAnyCountAndConcurrentCallers) {
    for (int rows : {0, 1, 15, 16, 17, 64, 1000, 1081}) {
        for (int min_rows : {1, 16}) {
            std::vector<std::atomic<int>> seen(static_cast<size_t>(rows));
            forEachBand(
                rows,
                [&](int first, int end) {
                    for (int y = first; y < end; ++y) seen[static_cast<size_t>(y)]++;
                },
                min_rows);
            for (int y = 0; y < rows; ++y) ASSERT_EQ(seen[static_cast<size_t>(y)].load(), 1) << rows << " rows, row " << y;
        }
    }
    // Four callers at once, each with its own job, as four pictures being retouched.
    std::vector<std::vector<int>> counts(4, std::vector<int>(999, 0));
    std::vector<std::thread> callers;
    for (int c = 0; c < 4; ++c)
        callers.emplace_back([&, c] {
            for (int repeat = 0; repeat < 50; ++repeat)
                forEachBand(999, [&](int first, int end) {
                    for (int y = first; y < end; ++y) counts[c][y]++;
                });
        });
    for (auto& caller : callers) caller.join();
    for (const auto& count : counts)
        for (int n : count) ASSERT_EQ(n, 50);
}

}  // namespace
