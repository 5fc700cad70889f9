#pragma once
// Fixed little-endian records the tools hand to the engines (and the probe fills), laid out byte
// for byte as the callers write and read them. Strings are NUL-terminated UTF-8 in fixed fields.
#include <cstddef>
#include <cstdint>

extern "C" {

// Audio stream record, 600 bytes.
struct MediaAudioInfo {
    int32_t exist;
    int32_t stream_index;
    char codec_name[128];
    int32_t sample_rate;
    int32_t channels;
    int32_t bit_rate;          // bit/s
    int32_t sample_format;     // AVSampleFormat
    char language[128];
    char title[256];
    char aspect_text[64];
};

// Video stream record, 624 bytes; MediaGetInfo fills one laid out the same way.
struct MediaVideoInfo {
    int32_t exist;
    int32_t stream_index;
    char codec_name[64];
    char codec_tag[64];
    int32_t width;             // as displayed: exchanged with height for a 90/270 rotation
    int32_t height;
    double frame_rate;
    int32_t bit_rate;          // bit/s
    int32_t padding0;
    double display_aspect;
    int32_t rotation;          // clockwise degrees: 0, 90, 180, 270
    char language[128];
    char title[256];
    char aspect_text[64];
    int32_t padding1;
};

// Pixels cut from each side (crop), or edges.
struct MediaRect {
    int32_t left, top, right, bottom;
};

// Subtitle to burn in, 800 bytes.
struct SubtitleRecord {
    char path[260];            // empty = none
    int32_t position;          // pixels from the top; -1 = the file's own placement
    char font_path[260];
    char reserved[260];
    int32_t font_size;         // video pixels
    int32_t shadow;
    uint32_t colour;           // 0xRRGGBB00
    uint32_t shadow_colour;
};

// Picture watermark, 296 bytes. Edges in pixels of the watermark frame, top-left origin.
struct ImageWatermarkRecord {
    char path[260];
    int32_t left, top, right, bottom;
    int32_t transparency;      // 0..100, 0 = fully visible
    int64_t start_us;
    int64_t end_us;
};

// Video watermark, 352 bytes.
struct VideoWatermarkRecord {
    char path[260];
    int32_t left, top, right, bottom;
    int32_t zero0;
    int64_t start_us;
    int64_t end_us;
    int64_t file_start_us;
    int64_t file_end_us;
    int32_t zero1;
    char zero2[16];
    char zero3[8];
    int32_t transparency;
    int32_t zero4;
    int32_t zero5;
};

// Text watermark, 824 bytes; its first 808 bytes are what the text callback draws from.
struct TextWatermarkRecord {
    char text[260];
    int32_t x;                 // text origin, from the left
    int32_t y;                 // text origin, from the bottom
    int32_t right;
    int32_t fourth_edge;
    char zero[260];
    char font_name[260];
    int32_t font_size;         // video pixels
    uint32_t colour;           // 0xRRGGBB00
    int32_t transparency;      // percent
    int64_t start_us;
    int64_t end_us;
};

// Draws one text watermark into a zeroed width x height BGRA premultiplied buffer.
typedef void (*MediaDrawTextCallback)(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord record);

}  // extern "C"

static_assert(sizeof(MediaAudioInfo) == 600);
static_assert(offsetof(MediaAudioInfo, sample_rate) == 136);
static_assert(offsetof(MediaAudioInfo, language) == 152);
static_assert(offsetof(MediaAudioInfo, title) == 280);
static_assert(offsetof(MediaAudioInfo, aspect_text) == 536);
static_assert(sizeof(MediaVideoInfo) == 624);
static_assert(offsetof(MediaVideoInfo, codec_tag) == 72);
static_assert(offsetof(MediaVideoInfo, width) == 136);
static_assert(offsetof(MediaVideoInfo, frame_rate) == 144);
static_assert(offsetof(MediaVideoInfo, bit_rate) == 152);
static_assert(offsetof(MediaVideoInfo, display_aspect) == 160);
static_assert(offsetof(MediaVideoInfo, rotation) == 168);
static_assert(offsetof(MediaVideoInfo, language) == 172);
static_assert(offsetof(MediaVideoInfo, title) == 300);
static_assert(offsetof(MediaVideoInfo, aspect_text) == 556);
static_assert(sizeof(SubtitleRecord) == 800);
static_assert(offsetof(SubtitleRecord, font_size) == 784);
static_assert(sizeof(ImageWatermarkRecord) == 296);
static_assert(offsetof(ImageWatermarkRecord, start_us) == 280);
static_assert(sizeof(VideoWatermarkRecord) == 352);
static_assert(offsetof(VideoWatermarkRecord, file_start_us) == 296);
static_assert(offsetof(VideoWatermarkRecord, transparency) == 340);
static_assert(sizeof(TextWatermarkRecord) == 824);
static_assert(offsetof(TextWatermarkRecord, font_name) == 536);
static_assert(offsetof(TextWatermarkRecord, font_size) == 796);
static_assert(offsetof(TextWatermarkRecord, start_us) == 808);
