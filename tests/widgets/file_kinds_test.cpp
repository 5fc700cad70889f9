// File kinds compare the whole lower-cased extension.
#include "widgets/dialogs/file_kinds.h"

#include <gtest/gtest.h>

namespace {

TEST(FileKinds, ListsAreSplitFromTheirDottedForm) {
    const QStringList video = kestrel::widgets::videoFileTypes();
    EXPECT_EQ(video.size(), 50);
    EXPECT_EQ(video.first(), "dts");
    EXPECT_EQ(video.last(), "divx");
    EXPECT_EQ(kestrel::widgets::audioFileTypes(), (QStringList{"mp3", "mp2", "wma", "m4a", "aac", "wav", "ogg", "m4r", "ac3", "flac"}));
    EXPECT_EQ(kestrel::widgets::pictureFileTypes(), (QStringList{"jpg", "jpeg", "bmp", "png", "gif", "tiff"}));
    EXPECT_EQ(kestrel::widgets::openPanelFileTypes(true, true).size(), 66);
    EXPECT_TRUE(kestrel::widgets::splitExtensionList("").isEmpty());
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
        EXPECT_EQ(kestrel::widgets::hasAllowedExtension(c.path, kestrel::widgets::openPanelFileTypes(c.pictures, c.audio)), c.allowed) << c.path;
}

TEST(FileKinds, DialogPatternsIgnoreLetterCase) {
    EXPECT_EQ(kestrel::widgets::caseInsensitivePattern("mp4"), "*.[mM][pP]4");
    EXPECT_EQ(kestrel::widgets::caseInsensitivePattern("3gp2"), "*.3[gG][pP]2");
}

}  // namespace
