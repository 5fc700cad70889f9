// The collage's timing, export sizes and cell geometry.
#include "session/edit/collage_composition.h"
#include "session/export/collage/collage_export_job.h"
#include "tools/collage/cell_geometry.h"

#include <gtest/gtest.h>

using namespace kestrel::session;
using namespace kestrel::tools::collage;

namespace {

CollageCell cell(bool video, int64_t length_us) {
    CollageCell c;
    c.path = "x";
    c.isVideo = video;
    c.mediaDuration_us = c.trimDuration_us = length_us;
    return c;
}

void expectEdges(const CellEdges& got, const CellEdges& want) {
    EXPECT_NEAR(got.left, want.left, 1e-6);
    EXPECT_NEAR(got.top, want.top, 1e-6);
    EXPECT_NEAR(got.right, want.right, 1e-6);
    EXPECT_NEAR(got.bottom, want.bottom, 1e-6);
}

}  // namespace

TEST(CollageTiming, LengthAndStartsByPlayOrder) {
    CollageSpec spec;
    spec.cells = {cell(true, 4'000'000), CollageCell{}, cell(true, 6'000'000), cell(false, 3'000'000),
                  cell(true, 5'000'000)};
    EXPECT_EQ(collageLengthUs(spec), 6'000'000);
    EXPECT_EQ(cellStartsUs(spec), (std::vector<int64_t>{0, 0, 0, 0, 0}));
    spec.sequential = true;
    EXPECT_EQ(collageLengthUs(spec), 18'000'000);
    // The empty cell takes no turn; the picture takes its turn but shows throughout.
    EXPECT_EQ(cellStartsUs(spec), (std::vector<int64_t>{0, 0, 4'000'000, 0, 13'000'000}));
    spec.cells[2].trimDuration_us = 2'000'000;  // a trimmed cell counts its used part
    EXPECT_EQ(collageLengthUs(spec), 14'000'000);
    EXPECT_EQ(cellStartsUs(spec)[4], 9'000'000);
    EXPECT_EQ(collageLengthUs(CollageSpec{}), 0);
}

TEST(CollageExportSize, EvenSidesForEveryAspect) {
    const struct {
        int index, width, height;
    } cases[] = {{0, 1920, 1080}, {1, 606, 1080}, {2, 1080, 1080}, {3, 1440, 1080}, {4, 1440, 1920},
                 {5, 1920, 960},  {6, 540, 1080}, {7, 674, 1080},  {8, 720, 720},   {-1, 720, 720}};
    for (const auto& c : cases) {
        const FrameSize size = collageExportSize(c.index);
        EXPECT_EQ(size.width, c.width) << c.index;
        EXPECT_EQ(size.height, c.height) << c.index;
    }
}

TEST(CellGeometry, AspectFillKeepsTheCentre) {
    // A 1920x1080 picture in a square cell shows its middle 56.25 % across.
    expectEdges(aspectFillClip(CellEdges{}, 1920, 1080, 1.0), {0.21875, 0, 0.78125, 1});
    // Turned, it is tall: the middle 56.25 % down.
    int tw = 0, th = 0;
    turnedSize(1920, 1080, 90, &tw, &th);
    expectEdges(aspectFillClip(CellEdges{}, tw, th, 1.0), {0, 0.21875, 1, 0.78125});
    // Equal aspects show the whole crop.
    expectEdges(aspectFillClip(CellEdges{0.1, 0.2, 0.5, 0.6}, 1000, 1000, 1.0), {0.1, 0.2, 0.5, 0.6});
}

TEST(CellGeometry, PanStaysInsideTheCrop) {
    const CellEdges crop{};
    const CellEdges base{0.21875, 0, 0.78125, 1};
    // 100 cell pixels right in a 540-pixel cell moves the window left by 100/540 of its width.
    expectEdges(pannedClip(base, crop, 100, 0, 540, 540), {0.21875 - 0.5625 * 100 / 540, 0, 0.78125 - 0.5625 * 100 / 540, 1});
    expectEdges(pannedClip(base, crop, 2000, 0, 540, 540), {0, 0, 0.5625, 1});
    expectEdges(pannedClip(base, crop, -2000, 0, 540, 540), {0.4375, 0, 1, 1});
    expectEdges(pannedClip(base, crop, 0, 300, 540, 540), base);  // the full height cannot move
}

TEST(CellGeometry, CropFollowsTurnsAndMirrors) {
    const CellEdges crop{0.1, 0.2, 0.4, 0.9};
    expectEdges(cropTurnedClockwise(crop), {0.1, 0.1, 0.8, 0.4});
    CellEdges turned = crop;
    for (int i = 0; i < 4; ++i) turned = cropTurnedClockwise(turned);
    expectEdges(turned, crop);
    expectEdges(cropTurnedCounterClockwise(cropTurnedClockwise(crop)), crop);
    expectEdges(cropMirroredHorizontally(crop), {0.6, 0.2, 0.9, 0.9});
    expectEdges(cropMirroredVertically(crop), {0.1, 0.1, 0.4, 0.8});
}
