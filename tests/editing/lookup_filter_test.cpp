// Colour look-up tables on media: the same colours in the preview and in the exported file,
// one table per media, and refusal of files that are no usable table.
#include "engine/editing/preview_view.h"
#include "engine/editing/rdve.h"
#include "tests/editing/editing_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace kestrel::test;
using kestrel::editing::PreviewView;

namespace {

constexpr int kWaitMs = 30000;  // a deadline for the preview thread, not a measured time

struct Rgb {
    double r, g, b;
};

// Writes a .cube table of n levels mapping every colour through f (red changes fastest).
std::string writeCube(const std::string& path, int n, const std::function<Rgb(Rgb)>& f, bool crlf = false) {
    std::ofstream out(path, std::ios::binary);
    const char* eol = crlf ? "\r\n" : "\n";
    out << "# test table" << eol << "TITLE \"t\"" << eol << "LUT_3D_SIZE " << n << eol;
    for (int b = 0; b < n; ++b)
        for (int g = 0; g < n; ++g)
            for (int r = 0; r < n; ++r) {
                Rgb c = f({r / double(n - 1), g / double(n - 1), b / double(n - 1)});
                out << c.r << ' ' << c.g << ' ' << c.b << eol;
            }
    return path;
}

Rgb swapRedBlue(Rgb c) { return {c.b, c.g, c.r}; }
Rgb invert(Rgb c) { return {1 - c.r, 1 - c.g, 1 - c.b}; }

std::vector<unsigned char> rgbOf(const QImage& picture) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> bytes;
    for (int y = 0; y < rgb.height(); ++y)
        bytes.insert(bytes.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
    return bytes;
}

// A 320x240 video of four quarters; the media handles in quarter order.
void* quadWithMedia(const std::vector<std::string>& files, std::vector<void*>* media) {
    void* video = rdVEVirtualVideoCreate();
    EXPECT_EQ(rdVESetFrameSize(video, 320, 240), 1);
    const SLIDE_RECT cells[4] = {{0, 0, 0.5f, 0.5f}, {0.5f, 0, 1, 0.5f}, {0, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        void* scene = rdVECreateScene(0, 1000000);
        void* m = rdVESceneAddMedia(scene, files[i].c_str());
        EXPECT_NE(m, nullptr);
        EXPECT_EQ(rdVESetMediaDisplayMode(m, 3), 1);
        EXPECT_EQ(rdVESetMediaShowRect(m, cells[i]), 1);
        EXPECT_EQ(rdVEAddScene(video, scene), 1);
        media->push_back(m);
    }
    return video;
}

std::vector<unsigned char> previewAt(void* video, int64_t t_us) {
    auto* view = qobject_cast<PreviewView*>(static_cast<QWidget*>(rdVEGetPreview(video)));
    EXPECT_NE(view, nullptr);
    if (!view) return {};
    QImage before = view->picture();
    EXPECT_EQ(rdVEPreviewSeek(video, t_us), 1);
    EXPECT_EQ(rdVEPreviewRefresh(video), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->picture().isNull() && view->picture() != before; }, kWaitMs));
    return rgbOf(view->picture());
}

}  // namespace

// Red and blue swapped on three quarters, the white quarter inverted, in a folder whose name
// needs escaping in filter text: the preview and the exported frames show the new colours.
TEST(EditingLookup, PreviewAndExportShowTheTableColours) {
    TempDir dir;
    std::vector<void*> media;
    void* video = quadWithMedia({solidClip(dir, "r", "red"), solidClip(dir, "g", "lime"), solidClip(dir, "b", "blue"),
                                 solidClip(dir, "w", "white")},
                                &media);
    std::string swap = writeCube(dir.file("swap red, blue's: [table].cube"), 2, swapRedBlue);
    std::string inv = writeCube(dir.file("invert.cube"), 17, invert, true);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rdVESetMediaLookupFilter(media[i], swap.c_str()), 1);
    EXPECT_EQ(rdVESetMediaLookupFilter(media[3], inv.c_str()), 1);

    ASSERT_EQ(rdVEPreviewInit(video), 1);
    std::vector<unsigned char> preview = previewAt(video, 500000);
    ASSERT_EQ(preview.size(), 320u * 240 * 3);
    expectColour(preview, 320, 80, 60, 0, 0, 255);
    expectColour(preview, 320, 240, 60, 0, 255, 0);
    expectColour(preview, 320, 80, 180, 255, 0, 0);
    expectColour(preview, 320, 240, 180, 0, 0, 0);

    std::string out = dir.file("lookup.mp4");
    ASSERT_EQ(rdVESetOutPath(video, out.c_str()), 1);
    ASSERT_EQ(rdVEEditMedia(video), 1);
    for (double t : {0.1, 0.5, 0.9}) {
        std::vector<unsigned char> frame = decodeFrameRGB(out, t, 320, 240);
        ASSERT_EQ(frame.size(), preview.size()) << t;
        expectColour(frame, 320, 80, 60, 0, 0, 255);
        expectColour(frame, 320, 240, 60, 0, 255, 0);
        expectColour(frame, 320, 80, 180, 255, 0, 0);
        expectColour(frame, 320, 240, 180, 0, 0, 0);
    }
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
}

// A refused file keeps the table the media had; a null path takes it away again.
TEST(EditingLookup, BadTablesAreRefusedAndNullRemovesTheTable) {
    TempDir dir;
    std::vector<void*> media;
    std::string red = solidClip(dir, "r", "red");
    void* video = quadWithMedia({red, red, red, red}, &media);
    std::string swap = writeCube(dir.file("swap.cube"), 2, swapRedBlue);
    ASSERT_EQ(rdVESetMediaLookupFilter(media[0], swap.c_str()), 1);

    std::string rows = "LUT_3D_SIZE 2\n0 0 0\n1 0 0\n0 1 0\n";
    std::string one_d = "LUT_1D_SIZE 2\n0 0 0\n1 1 1\n";
    std::string big = "LUT_3D_SIZE 4096\n";
    std::string words = "LUT_3D_SIZE 2\n0 0 0\nred green blue\n";
    std::string before = "0 0 0\nLUT_3D_SIZE 2\n";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"empty.cube", ""},          {"short.cube", rows},      {"oned.cube", one_d},
                 {"huge.cube", big},          {"words.cube", words},     {"rowsfirst.cube", before},
                 {"picture.cube", "\x89PNG\r\n\x1a\n"}};
    for (const auto& c : cases) {
        writeBytes(dir.file(c.name), c.bytes);
        EXPECT_LT(rdVESetMediaLookupFilter(media[0], dir.file(c.name).c_str()), 0) << c.name;
    }
    EXPECT_LT(rdVESetMediaLookupFilter(media[0], dir.file("missing.cube").c_str()), 0);
    EXPECT_LT(rdVESetMediaLookupFilter(nullptr, swap.c_str()), 0);

    ASSERT_EQ(rdVEPreviewInit(video), 1);
    std::vector<unsigned char> shown = previewAt(video, 300000);
    ASSERT_FALSE(shown.empty());
    expectColour(shown, 320, 80, 60, 0, 0, 255);    // still swapped
    expectColour(shown, 320, 240, 60, 255, 0, 0);   // never had a table

    EXPECT_EQ(rdVESetMediaLookupFilter(media[0], nullptr), 1);
    shown = previewAt(video, 600000);
    ASSERT_FALSE(shown.empty());
    expectColour(shown, 320, 80, 60, 255, 0, 0);
    EXPECT_EQ(rdVEVirtualVideoDestory(video), 1);
}
