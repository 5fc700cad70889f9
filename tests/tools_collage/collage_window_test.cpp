// The collage window end to end, through its own controls: cells filled by the open panel,
// layouts, border, play order, trim, filter and music, exported and checked with ffprobe and by
// the colour at each cell's centre.
#include "tests/support/ffprobe.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"

#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace kestrel::test;

namespace {

void expectNear(const Mean& m, double r, double g, double b, const std::string& where) {
    EXPECT_NEAR(m.r, r, 40) << where;
    EXPECT_NEAR(m.g, g, 40) << where;
    EXPECT_NEAR(m.b, b, 40) << where;
}

}  // namespace

// Two clips of distinct colours side by side: the file is 1920x1080, as long as the longer
// clip, with each colour in its half and the border line between them.
TEST(CollageWindow, TwoClipsSideBySideExport) {
    TempDir media, out;
    const std::string red = colourClip(media, "red", "red", 2.0);
    const std::string blue = colourClip(media, "blue", "blue", 1.0);
    CollageHarness h;
    ASSERT_EQ(h.w().layoutIndex(), 0);
    ASSERT_EQ(h.w().cellViews().size(), 2);
    EXPECT_FALSE(h.w().exportBtn->isEnabled());  // nothing to export yet
    h.fillCell(0, red);
    h.fillCell(1, blue);
    EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();
    ASSERT_TRUE(h.w().exportBtn->isEnabled());

    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const ProbedMedia probe = ffprobe(written);
    ASSERT_TRUE(probe.ok) << probe.error;
    const ProbedStream* video = probe.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->width, 1920);
    EXPECT_EQ(video->height, 1080);
    EXPECT_NEAR(probe.duration_s, 2.0, 0.15);
    EXPECT_EQ(probe.countOf("audio"), 1);
    for (double t : {0.5, 1.5}) {
        const std::vector<unsigned char> frame = decodeFrameRGB(written, t, 1920, 1080);
        ASSERT_FALSE(frame.empty());
        expectNear(meanAt(frame, 1920, 480, 540), 255, 0, 0, "left at " + std::to_string(t));
        expectNear(meanAt(frame, 1920, 1440, 540), 0, 0, 255, "right at " + std::to_string(t));
        // The default border (light grey) runs down the middle.
        expectNear(meanAt(frame, 1920, 960, 540, 1), 195, 197, 201, "border at " + std::to_string(t));
    }
}
