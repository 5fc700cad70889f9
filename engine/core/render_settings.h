#pragma once
// Plain description of everything the picture and the sound of one source may get. The preview
// player and every export fill the same structs and hand them to the one graph builder.
extern "C" {
#include <libavutil/rational.h>
}
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrel::engine {

// Pixels cut from each side of the turned and mirrored picture.
struct CropMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool isZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

// Edges in pixels with a top-left origin, not clamped to the frame.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// A picture already drawn at the watermark frame size: BGRA, premultiplied alpha, no row padding.
struct BgraPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

struct Watermark {
    enum class Kind { Picture, Video, Text };
    Kind kind = Kind::Picture;
    std::string path;                 // picture or video file (Picture, Video)
    PixelRect rect;                   // where it sits in the watermark frame (Picture, Video)
    int transparency_pct = 0;         // 0 = fully visible (Picture, Video; Text carries it in its pixels)
    int64_t start_us = 0;             // shown while start_us <= t < end_us, t on the source time line
    int64_t end_us = 0;               // 0 or less: until the end
    int64_t file_start_us = 0;        // used part of a video watermark's own file
    int64_t file_end_us = 0;          // 0: to the end of that file
    std::shared_ptr<const BgraPicture> text_picture;  // full watermark frame (Text)
};

struct SubtitleStyle {
    std::string path;                 // ass, ssa or srt, any text encoding
    std::string font_file;            // empty: the renderer's default font
    int font_size_px = 0;             // 0: the file's own size
    bool shadow = false;
    uint32_t colour_rgb0 = 0xFFFFFF00u;  // 0xRRGGBB00
    bool has_colour = false;
    int position_px = -1;             // distance from the top of the frame; -1 = the file's placement
};

struct VideoSettings {
    int rotation_deg = 0;             // clockwise; quarter turns are exact, other angles keep the size
    bool hflip = false;
    bool vflip = false;
    CropMargins crop;
    int out_width = 0;                // 0: keep the cropped size
    int out_height = 0;
    // The out size is a box: the picture keeps its shape inside it and the rest is black
    // (drawn after watermarks and subtitles, which stay on the picture).
    bool fit_in_box = false;
    AVRational frame_rate{0, 1};      // 0/1: keep the source timing
    int brightness = 0;               // -255..255
    int contrast = 0;                 // -100..100
    int saturation = 0;               // -100..100
    std::vector<std::string> effect_chains;  // libavfilter chain texts, applied in order
    // The frame the watermark rectangles refer to; 0 = the turned, mirrored, uncropped picture.
    int watermark_frame_width = 0;
    int watermark_frame_height = 0;
    std::vector<Watermark> watermarks;        // drawn in list order, later ones on top
    std::vector<SubtitleStyle> subtitles;     // zero or one
    bool even_size = false;           // round the final size down to even (4:2:0 encoders)
    // Export timing: frames before cut_start or from cut_end on are dropped, the rest is moved to
    // start at 0 and sped up. cut_end_us 0 = to the end. The preview leaves these as they are.
    int64_t cut_start_us = 0;
    int64_t cut_end_us = 0;
    double speed = 1.0;
    int output_pixel_format = -1;     // an AVPixelFormat the encoder needs; -1 keeps the source's
};

struct MusicTrack {
    std::string path;
    int64_t source_start_us = 0;      // used part of the music file
    int64_t source_end_us = 0;        // 0: to its end
    int64_t timeline_start_us = 0;    // where it plays on the output time line
    int64_t timeline_end_us = 0;      // longer than the used part: the part repeats
    int64_t fade_in_us = 0;
    int64_t fade_out_us = 0;
    double volume = 1.0;
};

struct AudioSettings {
    bool main_enabled = true;         // false: the source's own sound is dropped
    double main_volume = 1.0;
    std::vector<MusicTrack> music;
    int64_t cut_start_us = 0;         // as in VideoSettings
    int64_t cut_end_us = 0;
    double speed = 1.0;               // tempo changes, pitch is kept
    int64_t output_duration_us = 0;   // length of the output; needed when only music sounds
};

}  // namespace kestrel::engine
