#pragma once
// Which source frame each output frame shows, found by picture match, so a lost, doubled or
// extra frame is named ("source frame 41 missing", "source frame 12 appears twice",
// "output frame 7 matches no source frame").
//
// Both sides are decoded to small luma pictures. The source frame an output frame shows is the
// nearest one, where "near" counts the thumbnail pixels by how much they change from one source
// frame to the next: pixels that never change say nothing about which frame it is, so coding
// noise there cannot decide. A source whose frames all differ (lavfi testsrc2, or testsrc with
// its scrolling gradient) maps reliably for outputs coded at a usual quality; frames of a still
// source are one picture, and any of them counts as shown.
#include "tests/support/oracle/decoded_frames.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrel::test {

struct MappingOptions {
    int thumbnail_width = 64, thumbnail_height = 48;
    double min_match_psnr_db = 30;  // thumbnail PSNR under which an output frame shows no source frame
};

struct MappedFrame {
    int source_frame = -1;  // the source frame this output frame shows; -1: none
    int nearest = -1;       // the nearest source frame, also when too far to count
    double psnr_db = 0;     // thumbnail PSNR against the nearest source frame
};

struct FrameMapping {
    std::string output, source;  // as FrameSource::describe() names them
    MappingOptions options;
    int source_frames = 0;
    std::vector<MappedFrame> frames;  // one per output frame, in presentation order
    std::string error;                // a side that could not be decoded

    // What the match used: the luma thumbnails of both sides, and each thumbnail pixel's weight
    // (its share of the change between consecutive source frames; all equal for a still source).
    std::vector<std::vector<uint8_t>> output_thumbnails, source_thumbnails;
    std::vector<double> weights;

    int outputFrames() const { return int(frames.size()); }
    // Whether output frame k shows source frame j: j is its nearest source frame, or the same
    // picture as the nearest one.
    bool shows(int output_frame, int source_frame) const;
    // The source frame of every output frame as runs ("source frames 0-12, 12-74"), and the output
    // frames that show none.
    std::string describe() const;
};

FrameMapping mapFrames(const FrameSource& output, const FrameSource& source, const MappingOptions& options = {});
// Several outputs of one source (the pieces of a split) mapped with one decode of the source.
std::vector<FrameMapping> mapPieces(const std::vector<FrameSource>& pieces, const FrameSource& source,
                                    const MappingOptions& options = {});

// The output shows exactly source frames [first, end), each once, in order.
::testing::AssertionResult showsSourceFrames(const FrameMapping& mapping, int first, int end);

// The output shows exactly these source frames, in this order (a frame may be listed twice).
::testing::AssertionResult showsSourceSequence(const FrameMapping& mapping, const std::vector<int>& expected);

// Pieces of one source (a split), in order, together show source frames [first, end), each
// once: the first piece from `first` on, each next piece going on where the last one ended.
::testing::AssertionResult piecesShowSourceFramesOnce(const std::vector<FrameMapping>& pieces, int first, int end);

}  // namespace kestrel::test
