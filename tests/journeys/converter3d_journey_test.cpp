// The 3D converter from a loaded clip to an export per mode, each mode chosen with its button
// and exported through the dialog. Every export keeps the source's frame rate (twice it for
// alternating views) and has the mode's size; its left (or first) view is the source and its
// right (or second) view the source moved sideways by 3 % of the width, the left edge repeated,
// both judged frame by frame against views ffmpeg made from the source.
#include "tests/journeys/single_clip_journey_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/converter3d/ui3d_converter_window_controller.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kt = kestrel::test;
using converter3d::UI3DConverterWindowController;

namespace {

constexpr int kW = 320, kH = 240;
// The second view's shift: 3 % of 320 pixels.
const std::string kShift = "10";

// The source's second view, at full size or halved across or down (pairs averaged).
std::string secondView(const kt::TempDir& dir, const std::string& source, const std::string& name, const std::string& halve) {
    std::string graph = "[0:v]format=gbrp,split[a][b];[a]crop=1:ih:0:0,scale=" + kShift + ":ih:flags=neighbor[e];[b]crop=iw-" +
                        kShift + ":ih:0:0[c];[e][c]hstack";
    if (!halve.empty()) graph += ",scale=" + halve + ":flags=area";
    return kt::makeReference(dir, name, {"-i", source, "-filter_complex", graph});
}

std::string firstView(const kt::TempDir& dir, const std::string& source, const std::string& name, const std::string& halve) {
    if (halve.empty()) return source;
    return kt::makeReference(dir, name, {"-i", source, "-vf", "format=gbrp,scale=" + halve + ":flags=area"});
}

// A part of the output cut out by ffmpeg (a crop, or every second frame).
std::string partOf(const kt::TempDir& dir, const std::string& output, const std::string& name, const std::string& filter) {
    return kt::makeReference(dir, name, {"-i", output, "-vf", filter});
}

struct ModeCase {
    const char* name;
    int width, height;
    const char* rate;
    // ffmpeg filters cutting the first and the second view out of the output; the halving of the views.
    const char* firstPart;
    const char* secondPart;
    const char* halve;
};

const ModeCase kModes[6] = {
    {"RedBlue", kW, kH, "25/1", "", "", ""},
    {"LeftRight", kW * 2, kH, "25/1", "crop=iw/2:ih:0:0", "crop=iw/2:ih:iw/2:0", ""},
    {"HalfLeftRight", kW, kH, "25/1", "crop=iw/2:ih:0:0", "crop=iw/2:ih:iw/2:0", "iw/2:ih"},
    {"TopBottom", kW, kH * 2, "25/1", "crop=iw:ih/2:0:0", "crop=iw:ih/2:0:ih/2", ""},
    {"HalfTopBottom", kW, kH, "25/1", "crop=iw:ih/2:0:0", "crop=iw:ih/2:0:ih/2", "iw:ih/2"},
    {"FrameSequence", kW, kH, "50/1", "select=not(mod(n\\,2))", "select=mod(n\\,2)", ""},
};

}  // namespace

TEST(Converter3DJourney, EveryModeExportsItsSizeRateAndBothViews) {
    kt::TempDir dir;
    const std::string clip = dir.file("clip.mp4");
    kt::FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.width = kW;
    spec.height = kH;
    spec.frame_rate = "25";
    kt::makeMedia(clip, spec);
    // Red from the first view, green and blue from the second.
    const std::string anaglyph = kt::makeReference(
        dir, "anaglyph",
        {"-i", clip, "-filter_complex",
         "[0:v]format=gbrp,split=3[a][b][l];[a]crop=1:ih:0:0,scale=" + kShift + ":ih:flags=neighbor[e];[b]crop=iw-" + kShift +
             ":ih:0:0[c];[e][c]hstack[r];[l]colorchannelmixer=gg=0:bb=0[l2];[r]colorchannelmixer=rr=0[r2];[l2][r2]blend=all_mode=addition"});

    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(w.exportBtn->isEnabled());
    kt::CompareOptions close;
    close.min_psnr_db = 30;
    close.min_ssim = 0.93;
    for (int i = 0; i < 6; ++i) {
        const ModeCase& mode = kModes[i];
        SCOPED_TRACE(mode.name);
        kt::click(w.modeButtons[size_t(i)]);
        ASSERT_TRUE(w.modeButtons[size_t(i)]->isChecked());
        const std::string folder = dir.path() + "/" + mode.name;
        QDir().mkpath(QString::fromStdString(folder));
        const std::string out = kt::journey::exportThroughDialog(w, folder);
        ASSERT_FALSE(out.empty());
        EXPECT_TRUE(kt::decodesCleanly(out));
        const kt::ProbedMedia probed = kt::ffprobe(out);
        ASSERT_TRUE(probed.ok) << probed.error;
        const kt::ProbedStream* video = probed.firstOf("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->width, mode.width);
        EXPECT_EQ(video->height, mode.height);
        EXPECT_EQ(video->avg_frame_rate, mode.rate);
        if (std::string(mode.firstPart).empty()) {
            kt::CompareOptions colours = close;
            colours.min_psnr_db = 28;   // red beside cyan loses a little more in 4:2:0
            EXPECT_TRUE(kt::framesMatch(out, anaglyph, colours));
            continue;
        }
        const std::string name = mode.name;
        const std::string shownFirst = partOf(dir, out, name + "_first", mode.firstPart);
        const std::string shownSecond = partOf(dir, out, name + "_second", mode.secondPart);
        EXPECT_TRUE(kt::framesMatch(shownFirst, firstView(dir, clip, name + "_want_first", mode.halve), close));
        EXPECT_TRUE(kt::framesMatch(shownSecond, secondView(dir, clip, name + "_want_second", mode.halve), close));
    }
    EXPECT_TRUE(kt::closeWindow(&w));
}
