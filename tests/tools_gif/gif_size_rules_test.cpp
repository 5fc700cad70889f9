// The settings panel's arithmetic: pixel and percentage sizes kept in step, link on and off,
// bounded sides, photo sides and frame rates.
#include "session/export/gif/gif_limits.h"
#include "tools/gif/gif_photo_list.h"
#include "tools/gif/gif_size_rules.h"

#include <gtest/gtest.h>

namespace kestrel::tools::gif {
namespace {

TEST(GifSizeRules, CommitsFollowThePanelTable) {
    struct Case {
        const char* what;
        SizeUnit unit;
        bool linked, width;
        int64_t typed;
        int64_t w, h, pw, ph;
    };
    const Case cases[] = {
        {"pixel width, linked: even, height follows", SizeUnit::Pixel, true, true, 641, 640, 360, 33, 33},
        {"pixel width, unlinked: height stays", SizeUnit::Pixel, false, true, 961, 960, 168, 50, 16},
        {"pixel height, linked: width follows", SizeUnit::Pixel, true, false, 541, 960, 540, 50, 50},
        {"percent width, unlinked: half the source", SizeUnit::Proportion, false, true, 50, 960, 168, 50, 16},
        {"percent height over 100 is 100", SizeUnit::Proportion, false, false, 150, 300, 1080, 16, 100},
        {"percent width, linked", SizeUnit::Proportion, true, true, 25, 480, 270, 25, 25},
        {"zero or letters give the smallest size", SizeUnit::Pixel, true, true, 0, 2, 2, 1, 1},
        {"a huge pixel width is capped", SizeUnit::Pixel, false, true, 100000, session::kGifMaxSide, 168, 213, 16},
        {"a huge percentage is capped", SizeUnit::Proportion, false, true, 100000, 4089, 168, 213, 16},
    };
    for (const Case& c : cases) {
        OutputSize size = initialGifSize(1920, 1080);
        ASSERT_EQ(size.width, 300);
        ASSERT_EQ(size.height, 168);
        if (c.width) commitWidth(size, c.unit, c.linked, c.typed);
        else commitHeight(size, c.unit, c.linked, c.typed);
        EXPECT_EQ(size.width, c.w) << c.what;
        EXPECT_EQ(size.height, c.h) << c.what;
        EXPECT_EQ(size.widthPercent, c.pw) << c.what;
        EXPECT_EQ(size.heightPercent, c.ph) << c.what;
    }
}

// While a size is typed the field takes the value at once (at least 1) and, linked, the other
// side follows without being made even; the commit then makes the sides even.
TEST(GifSizeRules, TypingFollowsTheLiveTable) {
    struct Case {
        const char* what;
        SizeUnit unit;
        bool linked, width;
        int64_t typed;
        int64_t w, h, pw, ph;
    };
    const Case cases[] = {
        {"pixel width, linked: height follows, not even", SizeUnit::Pixel, true, true, 641, 641, 360, 33, 33},
        {"pixel width 0 is 1", SizeUnit::Pixel, true, true, 0, 1, 1, 1, 1},
        {"pixel width, unlinked: height stays", SizeUnit::Pixel, false, true, 961, 961, 168, 50, 16},
        {"pixel height, linked: width follows", SizeUnit::Pixel, true, false, 541, 961, 541, 50, 50},
        {"percent width, unlinked", SizeUnit::Proportion, false, true, 50, 960, 168, 50, 16},
        {"percent width, linked", SizeUnit::Proportion, true, true, 25, 480, 270, 25, 25},
        {"percent height, linked", SizeUnit::Proportion, true, false, 50, 960, 540, 50, 50},
    };
    for (const Case& c : cases) {
        OutputSize size = initialGifSize(1920, 1080);
        if (c.width) typedWidth(size, c.unit, c.linked, c.typed);
        else typedHeight(size, c.unit, c.linked, c.typed);
        EXPECT_EQ(size.width, c.w) << c.what;
        EXPECT_EQ(size.height, c.h) << c.what;
        EXPECT_EQ(size.widthPercent, c.pw) << c.what;
        EXPECT_EQ(size.heightPercent, c.ph) << c.what;
    }
}

TEST(GifSizeRules, LinkTurnedOnMakesTheHeightFollowTheWidth) {
    OutputSize size = initialGifSize(1920, 1080);
    commitWidth(size, SizeUnit::Pixel, false, 1000);
    linkTurnedOn(size);
    EXPECT_EQ(size.height, 562);  // 1000 * 1080 / 1920, not made even
    EXPECT_EQ(size.heightPercent, size.widthPercent);
}

TEST(GifSizeRules, StartingSizesAndBounds) {
    OutputSize portrait = initialGifSize(1080, 1920);
    EXPECT_EQ(portrait.width, 168);
    EXPECT_EQ(portrait.height, 300);
    OutputSize pictures = initialPictureSize(7680, 4320);
    EXPECT_EQ(pictures.width, session::kGifMaxSide);
    EXPECT_EQ(pictures.height, 2304);
    int64_t w = 0, h = 0;
    initialPhotoSize(320, 240, &w, &h);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 224);
    EXPECT_EQ(commitPhotoSide(301), 300);
    EXPECT_EQ(commitPhotoSide(0), 2);
    EXPECT_EQ(commitPhotoSide(50000), session::kGifMaxSide);
    EXPECT_EQ(commitFps(125), 120.0);
    EXPECT_EQ(commitFps(0), 1.0);
    EXPECT_EQ(commitFps(-3), 1.0);
    EXPECT_EQ(commitFps(12.7), 12.0);
    EXPECT_EQ(session::clampGifSide(301), 302);
    EXPECT_EQ(session::clampGifFps(500), 120.0);
}

TEST(GifPhotoFilter, ExtensionsAreComparedWholeAndLowerCased) {
    const QStringList chosen = {"/p/A.JPG", "/p/b.Png", "/p/c.TIFF", "/p/notes.txt", "/p/d.jpgx", "/p/e.jp", "/p/noext"};
    EXPECT_EQ(acceptedPhotos(chosen), (QStringList{"/p/A.JPG", "/p/b.Png", "/p/c.TIFF"}));
}

}  // namespace
}  // namespace kestrel::tools::gif
