// The 3D converter window: every shipped mode applies to the preview, and the window's export
// writes the chosen packing at the even source size and 30 (or 60) frames a second.
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using converter3d::UI3DConverterWindowController;

namespace {

kestrel::session::JobResult exportTo(UI3DConverterWindowController& w, const std::string& out) {
    QSignalSpy ended(&w, &UI3DConverterWindowController::exportEnded);
    w.startExport(QString::fromStdString(out));
    EXPECT_TRUE(ended.wait(120000));
    return ended.isEmpty() ? kestrel::session::JobResult{} : ended.first().first().value<kestrel::session::JobResult>();
}

TEST(Converter3DWindow, EveryModeAppliesAndTheExportTakesTheLastOne) {
    TempDir dir;
    std::string clip = dir.path() + "/odd.mp4";
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.width = 321;
    spec.height = 241;
    spec.pixel_format = "yuv444p";
    makeMedia(clip, spec);
    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(w.exportBtn->isEnabled());
    // A new clip starts in red/cyan.
    EXPECT_TRUE(w.modeButtons[0]->isChecked());
    EXPECT_TRUE(w.effectPath().endsWith("3d/RedBlue/filter/config.json"));
    for (int tag = 1; tag <= 6; ++tag) {
        QTest::mouseClick(w.modeButtons[tag - 1], Qt::LeftButton);
        EXPECT_TRUE(w.modeButtons[tag - 1]->isChecked());
        ASSERT_FALSE(w.effectPath().isEmpty()) << tag;
        EXPECT_TRUE(w.preview().setFilter(w.effectPath())) << w.effectPath().toStdString();
    }
    QTest::mouseClick(w.modeButtons[1], Qt::LeftButton);   // side by side
    std::string out = dir.path() + "/out.mp4";
    auto result = exportTo(w, out);
    ASSERT_TRUE(result.done()) << result.code;
    ProbedMedia probed = ffprobe(out);
    ASSERT_TRUE(probed.ok);
    const ProbedStream* v = probed.firstOf("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->width, 640);    // 320 (the even source width) twice
    EXPECT_EQ(v->height, 240);
    EXPECT_EQ(v->avg_frame_rate, "25/1");  // the source's rate: each picture shown once

    QTest::mouseClick(w.modeButtons[5], Qt::LeftButton);   // alternating frames
    std::string seq = dir.path() + "/seq.mp4";
    result = exportTo(w, seq);
    ASSERT_TRUE(result.done()) << result.code;
    probed = ffprobe(seq);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->width, 320);
    EXPECT_EQ(probed.firstOf("video")->avg_frame_rate, "50/1");  // two views per source picture
}

TEST(Converter3DWindow, AnUnreadableFileKeepsExportOffWithANote) {
    TempDir dir;
    std::string bad = dir.path() + "/bad.mp4";
    writeBytes(bad, "definitely not a video");
    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(bad));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_FALSE(w.exportBtn->isEnabled());
    EXPECT_FALSE(w.noteLabel->isHidden());
}

}  // namespace
