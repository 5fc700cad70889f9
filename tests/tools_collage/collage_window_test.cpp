// The collage window end to end, through its own controls: cells filled by the open panel,
// layouts, border, play order, trim, filter and music, exported and checked with ffprobe and by
// the colour at each cell's centre.
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_filter_window.h"
#include "tools/collage/collage_trim_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace kestrel::test;

namespace {

// Loudness of a file's sound by ffmpeg's volumedetect, in dB; +1 on failure.
double meanVolumeDb(const std::string& path) {
    std::string output;
    if (runCommand("ffmpeg -hide_banner -nostdin -i '" + path + "' -vn -af volumedetect -f null - 2>&1", &output) != 0)
        return 1;
    const auto at = output.find("mean_volume: ");
    return at == std::string::npos ? 1 : std::stod(output.substr(at + 13));
}

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

namespace {

// Chooses a built-in filter through the filter menu's last entry and the filter window.
void chooseBuiltInFilter(CollageHarness& h, const QString& id) {
    QComboBox* box = h.w().filterBox;
    ASSERT_TRUE(box->isEnabled());
    Q_EMIT box->activated(box->count() - 1);
    auto* window = qobject_cast<kestrel::tools::collage::CollageFilterWindow*>(h.w().openSubWindow());
    ASSERT_NE(window, nullptr);
    int row = -1;
    for (int i = 0; i < window->entries().size(); ++i)
        if (window->entries()[i].id == id) row = i;
    ASSERT_GE(row, 0);
    QListWidgetItem* item = window->list->item(row);
    QTest::mouseClick(window->list->viewport(), Qt::LeftButton, {}, window->list->visualItemRect(item).center());
    QTest::mouseClick(window->okBtn, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
}

}  // namespace

// A 2x2 layout of three clips and a picture, a wider magenta border, music and the negative
// filter: the cells show their colours inverted, the border keeps its colour, the music sounds.
TEST(CollageWindow, GridWithBorderMusicAndFilter) {
    TempDir media, out;
    CollageHarness h;
    h.chooseLayout(8);
    ASSERT_EQ(h.w().cellViews().size(), 4);
    h.fillCell(0, colourClip(media, "red", "red", 2.0));
    h.fillCell(1, colourClip(media, "lime", "lime", 1.5));
    h.fillCell(2, colourClip(media, "blue", "blue", 1.0));
    h.fillCell(3, colourPicture(media, "yellow", "yellow"));
    h.w().setColorChooser([](const QColor&) { return QColor(255, 0, 255); });
    QTest::mouseClick(h.w().borderColorBtn, Qt::LeftButton);
    h.w().borderWidthSlider->setValue(10);
    chooseBuiltInFilter(h, QStringLiteral("builtin.negative"));
    EXPECT_EQ(h.w().filterBox->currentIndex(), 1);
    h.panelAnswers << QString::fromStdString(toneFile(media, "tone", 5.0));
    Q_EMIT h.w().musicBox->activated(h.w().musicBox->count() - 1);
    EXPECT_EQ(h.w().musicBox->currentIndex(), 1);
    EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();

    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const ProbedMedia probe = ffprobe(written);
    ASSERT_TRUE(probe.ok) << probe.error;
    ASSERT_NE(probe.firstOf("video"), nullptr);
    EXPECT_EQ(probe.firstOf("video")->width, 1920);
    EXPECT_EQ(probe.firstOf("video")->height, 1080);
    EXPECT_NEAR(probe.duration_s, 3.0, 0.15);  // the picture counts three seconds
    const std::vector<unsigned char> frame = decodeFrameRGB(written, 0.5, 1920, 1080);
    ASSERT_FALSE(frame.empty());
    expectNear(meanAt(frame, 1920, 480, 270), 0, 255, 255, "red cell");
    expectNear(meanAt(frame, 1920, 1440, 270), 255, 0, 255, "lime cell");
    expectNear(meanAt(frame, 1920, 480, 810), 255, 255, 0, "blue cell");
    expectNear(meanAt(frame, 1920, 1440, 810), 0, 0, 255, "picture cell");
    expectNear(meanAt(frame, 1920, 960, 270, 3), 255, 0, 255, "inner border");
    expectNear(meanAt(frame, 1920, 4, 540, 2), 255, 0, 255, "outer border");
    // The music plays past the clips' own sound.
    EXPECT_LT(meanVolumeDb(written), -5.0);
    EXPECT_GT(meanVolumeDb(written), -60.0);
}

// One cell beside two, in sequential play, with the second clip trimmed in the trim window:
// the collage lasts the sum of the used parts, and each cell keeps its own colour.
TEST(CollageWindow, OneBesideTwoSequentialWithTrim) {
    TempDir media, out;
    CollageHarness h;
    h.chooseLayout(4);
    ASSERT_EQ(h.w().cellViews().size(), 3);
    h.fillCell(0, colourClip(media, "red", "red", 1.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 3.0));
    h.fillCell(2, colourPicture(media, "white", "white"));
    QTest::mouseClick(h.w().sequentialBtn, Qt::LeftButton);
    ASSERT_TRUE(h.w().sequentialBtn->isChecked());

    // Trim the blue clip (cell 1) to 1.0 .. 2.5 s.
    QTest::mouseClick(h.w().cellViews()[1], Qt::LeftButton, {}, h.w().cellViews()[1]->rect().center());
    QTest::mouseClick(h.w().trimBtn, Qt::LeftButton);
    auto* trim = qobject_cast<kestrel::tools::collage::CollageTrimWindow*>(h.w().openSubWindow());
    ASSERT_NE(trim, nullptr);
    dragTrimPart(trim->trimBar, TrimPart::End, 2.5 / 3);
    dragTrimPart(trim->trimBar, TrimPart::Start, 1.0 / 3);
    const int64_t start_us = trim->startUs(), end_us = trim->endUs();
    EXPECT_NEAR(start_us, 1'000'000, 60'000);
    EXPECT_NEAR(end_us, 2'500'000, 60'000);
    click(trim->okBtn);
    ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
    EXPECT_EQ(h.w().cellViews()[1]->cell.trimStart_us, start_us);
    EXPECT_EQ(h.w().cellViews()[1]->cell.trimDuration_us, end_us - start_us);
    EXPECT_EQ(h.w().cellViews()[0]->cell.trimDuration_us, 1'000'000);  // the other cells keep theirs

    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const ProbedMedia probe = ffprobe(written);
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_NEAR(probe.duration_s, 1.0 + (end_us - start_us) / 1e6 + 3.0, 0.15);
    for (double t : {0.5, 2.0, 4.5}) {
        const std::vector<unsigned char> frame = decodeFrameRGB(written, t, 1920, 1080);
        ASSERT_FALSE(frame.empty());
        expectNear(meanAt(frame, 1920, 480, 540), 255, 0, 0, "left at " + std::to_string(t));
        expectNear(meanAt(frame, 1920, 1440, 270), 0, 0, 255, "top right at " + std::to_string(t));
        expectNear(meanAt(frame, 1920, 1440, 810), 255, 255, 255, "bottom right at " + std::to_string(t));
    }
}
