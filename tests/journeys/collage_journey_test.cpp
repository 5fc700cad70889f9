// The collage from three filled cells to an export, through the window's controls: one beside
// two, a clip stored turned (its display rotation set) on the left, a photo top right, a clip
// trimmed on its handles and silenced bottom right, a wider border dragged on its slider, and
// music trimmed in its window. The export shows each cell's content upright where the cell is,
// every border line as wide as chosen, and the music's trimmed part from the start.
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_music_window.h"
#include "tools/collage/collage_trim_window.h"
#include "tools/shared/time_field_group.h"

#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace kt = kestrel::test;
using namespace kestrel::tools::collage;

namespace {

constexpr int kW = 1920, kH = 1080;
struct Rgb {
    int r, g, b;
};
const Rgb kBorder{195, 197, 201};

Rgb pixel(const std::vector<unsigned char>& frame, int x, int y) {
    const size_t i = (size_t(y) * kW + x) * 3;
    return {frame[i], frame[i + 1], frame[i + 2]};
}

bool near(Rgb a, Rgb b, int tolerance = 40) {
    return std::abs(a.r - b.r) < tolerance && std::abs(a.g - b.g) < tolerance && std::abs(a.b - b.b) < tolerance;
}

// The length of the run of border pixels through (x, y) along a row (dx 1) or a column (dy 1).
int borderRun(const std::vector<unsigned char>& frame, int x, int y, int dx, int dy) {
    auto isBorder = [&](int px, int py) {
        return px >= 0 && py >= 0 && px < kW && py < kH && near(pixel(frame, px, py), kBorder, 30);
    };
    if (!isBorder(x, y)) return 0;
    int run = 1;
    for (int k = 1; isBorder(x - k * dx, y - k * dy); ++k) ++run;
    for (int k = 1; isBorder(x + k * dx, y + k * dy); ++k) ++run;
    return run;
}

// A clip whose pictures are stored turned a quarter left with a display rotation that turns
// them back: upright it is 240x320, red above blue. No sound.
std::string turnedClip(const kt::TempDir& dir) {
    const std::string encoded = dir.file("turned_encoded.mp4"), tagged = dir.file("turned.mp4");
    EXPECT_EQ(kt::runCommand("ffmpeg -v error -y -f lavfi -i color=c=red:s=240x160:r=25:d=2 -f lavfi -i "
                             "color=c=blue:s=240x160:r=25:d=2 -filter_complex '[0][1]vstack,transpose=clock,format=yuv420p' "
                             "-c:v libx264 '" + encoded + "'"),
              0);
    EXPECT_EQ(kt::runCommand("ffmpeg -v error -y -i '" + encoded + "' -map 0 -c copy -metadata:s:v:0 rotate=90 '" + tagged + "'"), 0);
    return tagged;
}

// A 400x300 photo, yellow on its left half and cyan on its right.
std::string twoColourPhoto(const kt::TempDir& dir) {
    const std::string path = dir.file("photo.png");
    EXPECT_EQ(kt::runCommand("ffmpeg -v error -y -f lavfi -i color=c=yellow:s=200x300 -f lavfi -i color=c=cyan:s=200x300 "
                             "-filter_complex hstack -frames:v 1 '" + path + "'"),
              0);
    return path;
}

QPoint cellCentre(CollageCellView* cell) { return cell->rect().center(); }

}  // namespace

TEST(CollageJourney, ThreeCellsBorderAndTrimmedMusicToACheckedExport) {
    kt::TempDir media, out;
    const std::string turned = turnedClip(media);
    const std::string photo = twoColourPhoto(media);
    {
        const std::vector<unsigned char> upright = kt::decodeFrameRGB(turned, 0.5, 0, 0);
        ASSERT_EQ(upright.size(), size_t(240 * 320 * 3)) << "the turned clip is not 240x320 upright";
    }
    kt::CollageHarness h;
    h.chooseLayout(4);
    ASSERT_EQ(h.w().cellViews().size(), 3);
    h.fillCell(0, turned);
    h.fillCell(1, photo);
    h.fillCell(2, kt::colourClip(media, "green", "green", 3.0));
    ASSERT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();

    // Bottom right: the clip's 0.5 .. 2.5 s, silent.
    kt::clickAt(h.w().cellViews()[2], cellCentre(h.w().cellViews()[2]));
    ASSERT_EQ(h.w().selectedCell(), 2);
    kt::click(h.w().trimBtn);
    auto* trim = qobject_cast<CollageTrimWindow*>(h.w().openSubWindow());
    ASSERT_NE(trim, nullptr);
    kt::dragTrimPart(trim->trimBar, kt::TrimPart::End, 2.5 / 3);
    kt::dragTrimPart(trim->trimBar, kt::TrimPart::Start, 0.5 / 3);
    const QPoint knob = kt::visibleCentre(trim->volumeSlider->tickMarkView(), trim->volumeSlider);
    kt::drag(trim->volumeSlider, knob, QPoint(-60, knob.y()), 6);
    EXPECT_FLOAT_EQ(trim->volumeSlider->progress(), 0.0f);
    const int64_t trimmed_us = trim->endUs() - trim->startUs();
    EXPECT_NEAR(trimmed_us, 2'000'000, 120'000);
    kt::click(trim->okBtn);
    ASSERT_TRUE(kt::waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));

    // A wider border, dragged on its slider.
    const float widthBefore = h.w().borderWidth();
    const QPoint grip = kt::sliderGrip(h.w().borderWidthSlider);
    kt::drag(h.w().borderWidthSlider, grip, grip + QPoint(h.w().borderWidthSlider->width() / 3, 0), 6);
    const float width = h.w().borderWidth();
    ASSERT_GE(width, widthBefore + 3);

    // Music: a tone's 1.0 .. 2.5 s, typed into the trim window.
    h.panelAnswers << QString::fromStdString(kt::toneFile(media, "tone", 6.0));
    h.choose(h.w().musicBox, h.w().musicBox->count() - 1);
    ASSERT_TRUE(h.w().cutMusicBtn->isEnabled()) << h.alerts.join(", ").toStdString();
    kt::click(h.w().cutMusicBtn);
    auto* music = qobject_cast<CollageMusicWindow*>(h.w().openSubWindow());
    ASSERT_NE(music, nullptr);
    kt::typeInto(music->startFields->fields[2], QStringLiteral("01"), kt::Commit::Tab);
    kt::typeInto(music->endFields->fields[2], QStringLiteral("02"), kt::Commit::Tab);
    kt::typeInto(music->endFields->fields[3], QStringLiteral("500"), kt::Commit::Tab);
    kt::click(music->okBtn);
    ASSERT_TRUE(kt::waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));

    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    EXPECT_TRUE(kt::decodesCleanly(written));
    const kt::ProbedMedia probe = kt::ffprobe(written);
    ASSERT_TRUE(probe.ok) << probe.error;
    ASSERT_NE(probe.firstOf("video"), nullptr);
    EXPECT_EQ(probe.firstOf("video")->width, kW);
    EXPECT_EQ(probe.firstOf("video")->height, kH);
    // All cells at once: as long as the longest (the photo's 3 s).
    EXPECT_NEAR(probe.duration_s, 3.0, 0.15);

    // An edge line is drawn centred on the frame's edge at the full width, a shared one centred on
    // the cells' edge at half the width from each side: every line shows half the width (what the
    // field counts), in points of a 540-line frame.
    const int line = int(std::lround(width / 2 * kH / 540.0));
    for (double t : {0.4, 1.6}) {
        SCOPED_TRACE("at " + std::to_string(t) + " s");
        const std::vector<unsigned char> frame = kt::decodeFrameRGB(written, t, kW, kH);
        ASSERT_EQ(frame.size(), size_t(kW * kH * 3));
        // Left: upright, red above blue. Top right: yellow left of cyan. Bottom right: green.
        EXPECT_TRUE(near(pixel(frame, 480, 300), {255, 0, 0}));
        EXPECT_TRUE(near(pixel(frame, 480, 780), {0, 0, 255}));
        EXPECT_TRUE(near(pixel(frame, 1200, 270), {255, 255, 0}));
        EXPECT_TRUE(near(pixel(frame, 1680, 270), {0, 255, 255}));
        EXPECT_TRUE(near(pixel(frame, 1440, 810), {0, 128, 0}));
        // Every line as wide as chosen: the outer edges, between the columns, between the two right cells.
        EXPECT_NEAR(borderRun(frame, 0, 300, 1, 0), line, 2) << "left edge";
        EXPECT_NEAR(borderRun(frame, kW - 1, 270, 1, 0), line, 2) << "right edge";
        EXPECT_NEAR(borderRun(frame, 1440, 0, 0, 1), line, 2) << "top edge";
        EXPECT_NEAR(borderRun(frame, 480, kH - 1, 0, 1), line, 2) << "bottom edge";
        EXPECT_NEAR(borderRun(frame, kW / 2, 300, 1, 0), line, 2) << "between the columns";
        EXPECT_NEAR(borderRun(frame, 1440, kH / 2, 0, 1), line, 2) << "between the right cells";
    }
    // The music's trimmed 1.5 s from the start, then silence (the cells bring none).
    const kt::SoundLevels levels = kt::soundLevels(written);
    ASSERT_TRUE(levels.error.empty()) << levels.error;
    EXPECT_TRUE(kt::soundThroughout(levels, 0.0, 1.4)) << levels.describe();
    EXPECT_TRUE(kt::silenceThroughout(levels, 1.6, 2.9)) << levels.describe();
}
