#pragma once
// Stereoscopic 3D from one view: the second view is the first shifted sideways by a fraction
// of the width, and both are packed the way FFmpeg's stereo3d packs a side-by-side pair:
// red/cyan anaglyph (arcc), side by side full and half width (sbsl, sbs2l), top and bottom
// full and half height (abl, ab2l) and alternating frames (al, twice the frame rate).
#include "engine/editing/compositor.h"

#include <memory>
#include <string>

namespace kestrel::editing {

enum class StereoPacking { RedCyan, SideBySide, HalfSideBySide, TopBottom, HalfTopBottom, FrameSequence };

struct StereoConfig {
    StereoPacking packing = StereoPacking::RedCyan;
    double shift = 0.03;   // the second view's sideways shift, a fraction of the width
};

// Reads a converter configuration file ("packing": RedBlue, LeftRight, HalfLeftRight,
// TopBottom, HalfTopBottom or FrameSequence; "shift": 0 to 0.2). Null when unreadable or wrong.
std::shared_ptr<const StereoConfig> readStereoConfig(const std::string& path);

// The packed picture size for a source of width x height.
void stereoOutputSize(const StereoConfig& config, int width, int height, int* out_width, int* out_height);
// Output pictures per source picture: 2 for alternating frames, else 1.
int stereoFramesPerPicture(const StereoConfig& config);

// Packs `in` into `out`. `view` picks the view shown for alternating frames (0 first, 1 second);
// `shift_views` false packs the same view twice (outside the filter's time range).
void packStereo(const StereoConfig& config, const Canvas& in, int view, bool shift_views, Canvas* out);

}  // namespace kestrel::editing
