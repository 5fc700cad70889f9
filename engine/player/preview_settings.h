#pragma once
// Everything the window has asked of the preview picture, shared between the window's thread
// and the video decode thread. A version number tells the decode thread when to rebuild.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/player/player_records.h"

namespace kestrel::player {

struct PreviewSettings {
    int rotate_deg = 0;      // the user's quarter turns, on top of the source's own orientation
    bool hflip = false, vflip = false;
    int brightness = 0, contrast = 0, saturation = 0;
    std::vector<int> effects;
    std::vector<ImageWatermarkRecord> image_watermarks;
    std::vector<VideoWatermarkRecord> video_watermarks;
    std::vector<TextWatermarkRecord> text_watermarks;
    bool has_subtitle = false;
    SubtitleRecord subtitle{};
    PreviewDrawTextCallback draw_text = nullptr;
    PreviewLoadImageCallback load_image = nullptr;
};

class SettingsStore {
public:
    template <class Fn>
    void update(Fn&& change) {
        std::lock_guard lock(mutex_);
        change(settings_);
        ++version_;
    }
    PreviewSettings snapshot(uint64_t* version) const {
        std::lock_guard lock(mutex_);
        *version = version_;
        return settings_;
    }
    uint64_t version() const {
        std::lock_guard lock(mutex_);
        return version_;
    }

private:
    mutable std::mutex mutex_;
    PreviewSettings settings_;
    uint64_t version_ = 0;
};

}  // namespace kestrel::player
