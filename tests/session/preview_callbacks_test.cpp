#include <gtest/gtest.h>

#include <vector>

#include "session/preview/preview_callbacks.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::test;

TEST(PreviewLoadImage, AnswersTheSizeThenFillsAnExactBuffer) {
    TempDir dir;
    const std::string path = dir.file("mark.png");
    makePicture(path, 640, 480);
    int32_t w = 0, h = 0;
    EXPECT_EQ(kestrel::session::PreviewLoadImageCallback(path.c_str(), &w, &h, 0, nullptr), 1);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    std::vector<uint8_t> buffer(size_t(640) * 480 * 4, 0);
    EXPECT_EQ(kestrel::session::PreviewLoadImageCallback(path.c_str(), &w, &h, int32_t(buffer.size()) - 1, buffer.data()), 0);
    EXPECT_EQ(kestrel::session::PreviewLoadImageCallback(path.c_str(), &w, &h, int32_t(buffer.size()), buffer.data()), 1);
    EXPECT_EQ(buffer[3], 255);  // opaque alpha of the first pixel
    EXPECT_EQ(kestrel::session::PreviewLoadImageCallback(nullptr, &w, &h, 0, nullptr), 0);
    EXPECT_EQ(kestrel::session::PreviewLoadImageCallback(dir.file("none.png").c_str(), &w, &h, 0, nullptr), 0);
    const char invalidUtf8[] = {'\xff', '\xfe', '.', 'p', 'n', 'g', 0};
    EXPECT_EQ(kestrel::session::PreviewLoadImageCallback(invalidUtf8, &w, &h, 0, nullptr), 0);
}
