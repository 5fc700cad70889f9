#pragma once
// Frame-by-frame comparison of an output against a reference: the reference file an ffmpeg
// command line made doing the same work, or the source frames the output must show.
#include "tests/support/oracle/decoded_frames.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrel::test {

class TempDir;

struct CompareOptions {
    double min_psnr_db = 35;       // every frame must reach both figures
    double min_ssim = 0.95;
    bool scale_reference = false;  // scale reference frames to the output's size (else a size
                                   // difference fails the comparison)
};

struct FrameFigures {
    int frame = -1;       // 0-based output frame number; -1 when no frame was compared
    double psnr_db = 0;   // +infinity for an identical frame
    double ssim = 0;
};

struct FrameComparison {
    std::string output, reference;        // as FrameSource::describe() names them
    CompareOptions wanted;
    int output_frames = 0, reference_frames = 0;
    int output_width = 0, output_height = 0, reference_width = 0, reference_height = 0;
    std::vector<FrameFigures> frames;     // one per compared pair, output frame k with reference frame k
    FrameFigures lowest_psnr, lowest_ssim;
    std::string error;                    // a side that could not be decoded, or sizes that differ

    // Both sides decoded, the same number of frames, and every frame at both figures.
    bool ok() const;
    // The first frame under either figure; -1 when there is none.
    int firstFrameBelow() const;
    // What failed, naming the frame and the figure ("frame 79 of 80: PSNR 22.1 dB (want >= 35)"),
    // then a summary line with the lowest figures.
    std::string describe() const;
};

// Decodes both sides with the ffmpeg command line, converts them to 8-bit 4:2:0 and compares
// every output frame with the reference frame of the same number, in presentation order.
FrameComparison compareFrames(const FrameSource& output, const FrameSource& reference,
                              const CompareOptions& options = {});

// compareFrames as a gtest assertion: EXPECT_TRUE(framesMatch(out, framesOf(src, 25, 50))).
::testing::AssertionResult framesMatch(const FrameSource& output, const FrameSource& reference,
                                       const CompareOptions& options = {});

// Runs `ffmpeg <args> OUT` where OUT is dir/name.mkv, with lossless FFV1 video and FLAC sound
// and every filtered frame kept as it comes (-fps_mode passthrough), so the reference adds no
// coding error of its own. Throws with ffmpeg's message when it fails; returns OUT.
std::string makeReference(const TempDir& dir, const std::string& name, const std::vector<std::string>& args);

}  // namespace kestrel::test
