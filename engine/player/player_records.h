#pragma once
// What the preview player takes besides the engine records of engine/core/media_records.h
// (subtitle and watermark records, passed by value with the same layouts as to an export).
#include <cstddef>
#include <cstdint>

#include "engine/core/media_records.h"

namespace kestrel::player {

// The first 808 bytes of a text watermark record: what the draw-text callback receives.
struct DrawTextParam {
    char text[260];
    int32_t x;               // text origin, pixels from the left
    int32_t y;               // text origin, pixels from the bottom
    int32_t right;
    int32_t fourth_edge;
    char zero[260];
    char font_name[260];
    int32_t font_size;       // video pixels
    uint32_t colour;         // 0xRRGGBB00
    int32_t transparency;    // percent
};
static_assert(sizeof(DrawTextParam) == 808);
static_assert(offsetof(DrawTextParam, font_name) == offsetof(TextWatermarkRecord, font_name));
static_assert(offsetof(DrawTextParam, transparency) == offsetof(TextWatermarkRecord, transparency));

// Draws text into a w x h BGRA premultiplied buffer (rows of w*4 bytes, last row at the bottom).
using PreviewDrawTextCallback = void (*)(int32_t width, int32_t height, uint8_t* pixels, DrawTextParam param);
// Size query with pixels == nullptr, else fills exactly w*h*4 bytes; 1 on success, 0 on failure.
using PreviewLoadImageCallback = int32_t (*)(const char* path, int32_t* width, int32_t* height, int32_t buffer_size,
                                             uint8_t* pixels);

}  // namespace kestrel::player
