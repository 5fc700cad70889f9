#include "engine/editing/stereo_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>

namespace kestrel::editing {

namespace {

bool packingFromName(const std::string& name, StereoPacking* out) {
    static const struct {
        const char* name;
        StereoPacking packing;
    } kNames[] = {{"RedBlue", StereoPacking::RedCyan},           {"LeftRight", StereoPacking::SideBySide},
                  {"HalfLeftRight", StereoPacking::HalfSideBySide}, {"TopBottom", StereoPacking::TopBottom},
                  {"HalfTopBottom", StereoPacking::HalfTopBottom}, {"FrameSequence", StereoPacking::FrameSequence}};
    for (const auto& entry : kNames)
        if (name == entry.name) {
            *out = entry.packing;
            return true;
        }
    return false;
}

int shiftPixels(const StereoConfig& config, int width, bool shift_views) {
    return shift_views ? static_cast<int>(std::lround(config.shift * width)) : 0;
}

// Pixel x of the second view: the first moved right by `shift`, the left edge repeated.
inline const uint8_t* secondViewPixel(const uint8_t* row, int x, int shift) {
    return row + std::max(0, x - shift) * 4;
}

// Copies a whole view, or every second column or row of it (the half packings average pairs).
void drawView(const Canvas& in, int shift, int x_step, int y_step, int x0, int y0, Canvas* out) {
    int w = in.width / x_step, h = in.height / y_step;
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = out->bgra.data() + (static_cast<size_t>(y0 + y) * out->width + x0) * 4;
        const uint8_t* rows[2];
        for (int k = 0; k < 2; ++k)
            rows[k] = in.bgra.data() + static_cast<size_t>(std::min(in.height - 1, y * y_step + (y_step > 1 ? k : 0))) *
                                           in.width * 4;
        for (int x = 0; x < w; ++x) {
            int sx = x * x_step;
            unsigned sum[3] = {0, 0, 0};
            int n = 0;
            for (int ry = 0; ry < y_step; ++ry)
                for (int rx = 0; rx < x_step; ++rx, ++n) {
                    const uint8_t* p = secondViewPixel(rows[ry], std::min(in.width - 1, sx + rx), shift);
                    sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
                }
            dst[x * 4 + 0] = static_cast<uint8_t>((sum[0] + n / 2) / n);
            dst[x * 4 + 1] = static_cast<uint8_t>((sum[1] + n / 2) / n);
            dst[x * 4 + 2] = static_cast<uint8_t>((sum[2] + n / 2) / n);
            dst[x * 4 + 3] = 255;
        }
    }
}

}  // namespace

std::shared_ptr<const StereoConfig> readStereoConfig(const std::string& path) {
    // The file is a flat JSON object of our own; its two values are read by their keys.
    std::ifstream file(path, std::ios::binary);
    if (!file) return nullptr;
    std::string text(64 * 1024, '\0');
    file.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(file.gcount()));
    if (text.find('{') == std::string::npos || text.find('}') == std::string::npos) return nullptr;
    auto config = std::make_shared<StereoConfig>();
    static const std::regex packing_entry(R"re("packing"\s*:\s*"([^"]*)")re");
    static const std::regex shift_entry(R"re("shift"\s*:\s*(-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?))re");
    std::smatch match;
    if (!std::regex_search(text, match, packing_entry) || !packingFromName(match[1].str(), &config->packing))
        return nullptr;
    double shift = config->shift;
    if (std::regex_search(text, match, shift_entry)) shift = std::strtod(match[1].str().c_str(), nullptr);
    if (!std::isfinite(shift) || shift < 0 || shift > 0.2) return nullptr;
    config->shift = shift;
    return config;
}

void stereoOutputSize(const StereoConfig& config, int width, int height, int* out_width, int* out_height) {
    *out_width = width;
    *out_height = height;
    if (config.packing == StereoPacking::SideBySide) *out_width = width * 2;
    if (config.packing == StereoPacking::TopBottom) *out_height = height * 2;
}

int stereoFramesPerPicture(const StereoConfig& config) {
    return config.packing == StereoPacking::FrameSequence ? 2 : 1;
}

void packStereo(const StereoConfig& config, const Canvas& in, int view, bool shift_views, Canvas* out) {
    const int w = in.width, h = in.height;
    stereoOutputSize(config, w, h, &out->width, &out->height);
    out->bgra.assign(static_cast<size_t>(out->width) * out->height * 4, 0);
    if (w <= 0 || h <= 0) return;
    const int shift = shiftPixels(config, w, shift_views);
    switch (config.packing) {
    case StereoPacking::RedCyan:
        // Red from the first view, green and blue from the second.
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = in.bgra.data() + static_cast<size_t>(y) * w * 4;
            uint8_t* dst = out->bgra.data() + static_cast<size_t>(y) * w * 4;
            for (int x = 0; x < w; ++x) {
                const uint8_t* second = secondViewPixel(row, x, shift);
                dst[x * 4 + 0] = second[0];
                dst[x * 4 + 1] = second[1];
                dst[x * 4 + 2] = row[x * 4 + 2];
                dst[x * 4 + 3] = 255;
            }
        }
        break;
    case StereoPacking::SideBySide:
        drawView(in, 0, 1, 1, 0, 0, out);
        drawView(in, shift, 1, 1, w, 0, out);
        break;
    case StereoPacking::HalfSideBySide:
        drawView(in, 0, 2, 1, 0, 0, out);
        drawView(in, shift, 2, 1, w / 2, 0, out);
        break;
    case StereoPacking::TopBottom:
        drawView(in, 0, 1, 1, 0, 0, out);
        drawView(in, shift, 1, 1, 0, h, out);
        break;
    case StereoPacking::HalfTopBottom:
        drawView(in, 0, 1, 2, 0, 0, out);
        drawView(in, shift, 1, 2, 0, h / 2, out);
        break;
    case StereoPacking::FrameSequence:
        drawView(in, view == 0 ? 0 : shift, 1, 1, 0, 0, out);
        break;
    }
}

}  // namespace kestrel::editing
