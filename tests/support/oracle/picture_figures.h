#pragma once
// PSNR and SSIM of two decoded pictures of the same size and layout, over all their planes.
#include "tests/support/oracle/decoded_frames.h"

namespace kestrel::test {

struct PictureFigures {
    double psnr_db = 0;  // +infinity for identical pictures
    double ssim = 0;     // 1 for identical pictures
};

// Both figures over every plane, each plane weighted by its number of samples (as ffmpeg's
// psnr and ssim filters do). SSIM uses 8x8 windows stepped by 4 samples.
PictureFigures comparePictures(const Picture& a, const Picture& b);

// Mean squared difference of two 8-bit sample arrays of the same length.
double meanSquaredDifference(const uint8_t* a, const uint8_t* b, size_t count);

// PSNR in dB of 8-bit samples with this mean squared difference (+infinity for 0).
double psnrFromMse(double mse);

}  // namespace kestrel::test
