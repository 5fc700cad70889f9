#pragma once
// Records the preview player takes by value, with the byte layouts its callers fill
// (little-endian, zero-filled, strings NUL-terminated UTF-8 in fixed fields, times in
// microseconds, edges in pixels of the shown frame with a top-left origin).
#include <cstddef>
#include <cstdint>

namespace kestrel::player {

struct SubtitleRecord {
    char path[260];          // subtitle file (ass, ssa, srt); empty removes the subtitle
    int32_t position;        // pixels from the top of the frame; -1 = default placement
    char font_path[260];
    uint8_t reserved[260];
    int32_t font_size;       // video pixels
    int32_t shadow;
    uint32_t color;          // 0xRRGGBB00
    uint32_t shadow_color;
};
static_assert(sizeof(SubtitleRecord) == 800);
static_assert(offsetof(SubtitleRecord, font_size) == 784);

struct ImageWatermarkRecord {
    char path[260];
    int32_t left, top, right, bottom;
    int32_t water_alph;      // transparency 0..100 (0 = fully visible)
    int64_t start_us, end_us;
};
static_assert(sizeof(ImageWatermarkRecord) == 296);
static_assert(offsetof(ImageWatermarkRecord, start_us) == 280);

struct VideoWatermarkRecord {
    char path[260];
    int32_t left, top, right, bottom;
    int32_t zero0;
    int64_t start_us, end_us;
    int64_t file_start_us, file_end_us;   // the part of the watermark's own file that plays
    uint8_t zero1[28];
    int32_t water_alph;
    int32_t zero2, zero3;
};
static_assert(sizeof(VideoWatermarkRecord) == 352);
static_assert(offsetof(VideoWatermarkRecord, file_start_us) == 296);
static_assert(offsetof(VideoWatermarkRecord, water_alph) == 340);

// The first 808 bytes are what the draw-text callback receives.
struct DrawTextParam {
    char text[260];
    int32_t x;               // text origin, pixels from the left
    int32_t y;               // text origin, pixels from the bottom
    int32_t right;
    int32_t fourth_edge;
    uint8_t zero[260];
    char font_name[260];
    int32_t font_size;       // video pixels
    uint32_t color;          // 0xRRGGBB00
    int32_t water_alph;      // transparency in percent
};
static_assert(sizeof(DrawTextParam) == 808);

struct TextWatermarkRecord {
    DrawTextParam text;
    int64_t start_us, end_us;
};
static_assert(sizeof(TextWatermarkRecord) == 824);

// Draws text into a w x h BGRA premultiplied buffer (rows of w*4 bytes, last row at the bottom).
using PreviewDrawTextCallback = void (*)(int32_t width, int32_t height, uint8_t* pixels, DrawTextParam param);
// Size query with pixels == nullptr, else fills exactly w*h*4 bytes; 1 on success, 0 on failure.
using PreviewLoadImageCallback = int32_t (*)(const char* path, int32_t* width, int32_t* height, int32_t buffer_size,
                                             uint8_t* pixels);

}  // namespace kestrel::player
