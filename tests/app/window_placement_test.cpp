// The large tool windows scale with the screen width.
#include "app/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, LargeToolWindowsScaleWithTheScreenAndStopAtFullSize) {
    struct Case {
        float screen, baseW, baseH, w, h;
    };
    for (const Case& c : {Case{1280, 1500, 875, 1000, 583.3333f}, Case{1920, 1500, 875, 1500, 875},
                          Case{2560, 1500, 875, 1500, 875}, Case{1280, 1500, 876, 1000, 584},
                          Case{960, 1370, 770, 685, 385}}) {
        const QSizeF size = app::scaledToolWindowSize(c.screen, c.baseW, c.baseH);
        EXPECT_FLOAT_EQ(float(size.width()), c.w) << c.screen;
        EXPECT_FLOAT_EQ(float(size.height()), c.h) << c.screen;
    }
}

}  // namespace
