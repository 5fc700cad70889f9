#include "tests/tools_splitter/split_test_helpers.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"

namespace kestrel::test {

const std::string& twentySecondClip() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("clip.mp4");
        FixtureSpec spec;
        spec.duration_s = 20;
        spec.gop = 50;
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

const std::string& largeClip() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("large.mp4");
        FixtureSpec spec;
        spec.duration_s = 20;
        spec.width = 640;
        spec.height = 360;
        spec.gop = 50;
        spec.extra_args = {"-b:v", "2M", "-maxrate", "2M", "-bufsize", "1M"};
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

const std::string& fourMinuteClip() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("long.mp4");
        FixtureSpec spec;
        spec.duration_s = 240;
        spec.width = 96;
        spec.height = 64;
        spec.frame_rate = "5";
        spec.gop = 25;
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

std::string brokenFile(const TempDir& dir, const std::string& name) {
    const std::string path = dir.file(name);
    writeBytes(path, std::string(2048, 'x'));
    return path;
}

bool chooseInPopup(QComboBox* popup, const QString& prefix) {
    int index = -1;
    for (int i = 0; i < popup->count() && index < 0; ++i)
        if (popup->itemText(i).trimmed().startsWith(prefix)) index = i;
    if (index < 0) return false;
    click(popup);
    QAbstractItemView* list = popup->view();
    if (!waitUntil([&] { return list->isVisible(); }, 5000)) return false;
    list->scrollTo(popup->model()->index(index, 0));
    clickAt(list->viewport(), list->visualRect(popup->model()->index(index, 0)).center());
    return waitUntil([&] { return !list->isVisible(); }, 5000);
}


std::vector<std::string> toStd(const QStringList& paths) {
    std::vector<std::string> out;
    for (const QString& path : paths) out.push_back(path.toStdString());
    return out;
}

void expectPiecesCoverSource(const std::string& source, const std::vector<std::string>& pieces) {
    const ProbedMedia whole = ffprobe(source, true);
    ASSERT_TRUE(whole.ok) << whole.error;
    const ProbedStream* sourceVideo = whole.firstOf("video");
    ASSERT_NE(sourceVideo, nullptr);
    const double frame_s = 1.0 / 25.0;
    long frames = 0;
    double duration_s = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        SCOPED_TRACE(pieces[i]);
        const ProbedMedia piece = ffprobe(pieces[i], true);
        ASSERT_TRUE(piece.ok) << piece.error;
        const ProbedStream* video = piece.firstOf("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(piece.countOf("audio"), 1);
        EXPECT_NEAR(video->duration_s, video->frames * frame_s, frame_s + 1e-6);
        // The piece starts on the source's picture at the end of the pieces before it.
        const double at_s = frames * frame_s;
        const auto first = decodeFrameRGB(pieces[i], 0.0, 160, 120);
        // A seek shows the first picture at or after the time asked.
        const auto expected = decodeFrameRGB(source, std::max(0.0, at_s - 0.001), 160, 120);
        const auto previous = decodeFrameRGB(source, std::max(0.0, at_s - frame_s - 0.001), 160, 120);
        ASSERT_FALSE(first.empty());
        const double diff = meanAbsDiff(first, expected);
        EXPECT_LT(diff, 6.0) << "piece " << i << " does not start at " << at_s << " s";
        if (i > 0) EXPECT_LT(diff, meanAbsDiff(first, previous)) << "piece " << i << " repeats a frame";
        frames += video->frames;
        duration_s += video->duration_s;
    }
    EXPECT_EQ(frames, sourceVideo->frames);
    EXPECT_NEAR(duration_s, sourceVideo->duration_s, frame_s * pieces.size() + 1e-6);
}

}  // namespace kestrel::test
