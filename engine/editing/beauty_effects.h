#pragma once
// The five face-retouching effects on a BGRA picture, given the faces found in it. Each effect
// is weighted by a soft ellipse inside the face box and never touches a pixel outside
// faceRegion(), so the rest of the picture stays exactly as it was.
#include <array>
#include <cstdint>
#include <vector>

namespace kestrel::editing {

struct BeautySettings {
    int blur = 0;     // skin smoothing 0..100
    int bright = 0;   // brightening 0..100
    int tone = 0;     // rosy tone 0..100
    int thin = 0;     // face slimming -100..100 (negative widens)
    int eye = 0;      // eye enlarging -100..100 (negative shrinks)
    bool any() const { return blur || bright || tone || thin || eye; }
    bool needsLandmarks() const { return thin || eye; }
    bool operator==(const BeautySettings&) const = default;
};

struct FacePoint {
    float x = 0, y = 0;
};

struct FaceShape {
    float left = 0, top = 0, right = 0, bottom = 0;   // the detector's box, picture pixels
    bool has_landmarks = false;
    std::array<FacePoint, 68> points{};                // dlib's 68-point layout when set
};

struct PixelRegion {
    int left = 0, top = 0, right = 0, bottom = 0;     // right and bottom exclusive
    bool empty() const { return right <= left || bottom <= top; }
};

// The only pixels the effects of one face may change: its box grown by a quarter of its size
// on every side, clipped to the picture.
PixelRegion faceRegion(const FaceShape& face, int width, int height);

// Applies the settings to every face. Slimming and eye enlarging need landmarks and are left
// out for faces without them.
void applyBeauty(uint8_t* bgra, int width, int height, int stride, const std::vector<FaceShape>& faces,
                 const BeautySettings& settings);

}  // namespace kestrel::editing
