// File kinds compare the whole lower-cased extension; the large tool windows scale with the
// screen width.
#include "app/file_kinds.h"
#include "app/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(FileKinds, ListsAreSplitFromTheirDottedForm) {
    const QStringList video = app::videoFileTypes();
    EXPECT_EQ(video.size(), 50);
    EXPECT_EQ(video.first(), "dts");
    EXPECT_EQ(video.last(), "divx");
    EXPECT_EQ(app::audioFileTypes(), (QStringList{"mp3", "mp2", "wma", "m4a", "aac", "wav", "ogg", "m4r", "ac3", "flac"}));
    EXPECT_EQ(app::pictureFileTypes(), (QStringList{"jpg", "jpeg", "bmp", "png", "gif", "tiff"}));
    EXPECT_EQ(app::openPanelFileTypes(true, true).size(), 66);
    EXPECT_TRUE(app::splitExtensionList("").isEmpty());
}

TEST(FileKinds, WholeExtensionInAnyCase) {
    struct Case {
        const char* path;
        bool pictures, audio, allowed;
    };
    for (const Case& c : {Case{"/v/clip.mp4", false, false, true}, Case{"/v/CLIP.MP4", false, false, true},
                          Case{"/v/old.wm", false, false, true}, Case{"/v/song.wma", false, false, false},
                          Case{"/v/song.wma", false, true, true}, Case{"/v/PHOTO.JPG", true, false, true},
                          Case{"/v/PHOTO.JPG", false, true, false}, Case{"/v/clip.mp4.txt", true, true, false},
                          Case{"/v/mp4", true, true, false}, Case{"/v/.mp4/readme", true, true, false},
                          Case{"/v/clip.m", true, true, false}})
        EXPECT_EQ(app::hasAllowedExtension(c.path, app::openPanelFileTypes(c.pictures, c.audio)), c.allowed) << c.path;
}

TEST(FileKinds, DialogPatternsIgnoreLetterCase) {
    EXPECT_EQ(app::caseInsensitivePattern("mp4"), "*.[mM][pP]4");
    EXPECT_EQ(app::caseInsensitivePattern("3gp2"), "*.3[gG][pP]2");
}

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
