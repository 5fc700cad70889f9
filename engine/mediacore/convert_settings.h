#pragma once
// Everything the setters of a convert job collect; the pipeline is built from it at Start.
#include "engine/core/media_records.h"
#include "engine/core/render_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::mediacore {

// A text watermark waits for Start, where the frame size it is drawn at is known.
struct PendingTextWatermark {
    TextWatermarkRecord record;
    MediaDrawTextCallback callback = nullptr;
};

struct WatermarkEntry {
    engine::Watermark mark;                     // kind Text: drawn at Start from `text`
    std::optional<PendingTextWatermark> text;
};

struct ConvertSettings {
    std::string output_path;
    bool cut_set = false;
    int64_t cut_start_us = 0;
    int64_t cut_end_us = 0;
    int64_t limit_bytes = 0;                    // 0: no cap
    std::string video_codec;                    // "" or "copy": keep the source's where possible
    std::string audio_codec;
    bool force_encode = false;                  // never copy packets, even where it would do
    int video_kbps = 0;
    int audio_kbps = 0;
    AVRational frame_rate{0, 1};
    int width = 0;
    int height = 0;
    int channels = 0;
    int sample_rate = 0;
    int audio_index = -1;
    engine::CropMargins crop;
    int rotation_deg = 0;
    bool hflip = false;
    bool vflip = false;
    double speed = 1.0;
    int brightness = 0, contrast = 0, saturation = 0;
    std::vector<std::string> effect_chains;
    std::vector<WatermarkEntry> watermarks;
    std::optional<engine::SubtitleStyle> subtitle;
    double main_volume = 1.0;
    bool main_disabled = false;
    std::vector<engine::MusicTrack> music;
};

// 29.97 and its kin become their exact NTSC rationals; other rates keep six decimals.
AVRational frameRateFromDouble(double fps);

}  // namespace kestrel::mediacore
