#pragma once
// Demux, decode and render of the video stream for the preview, used only on the video decode
// thread. Rendering pushes each decoded frame through the engine's filter-graph builder with the
// preview's current settings, so the picture is what an export with those settings writes.
#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "engine/core/ff_handles.h"
#include "engine/core/frame_reader.h"
#include "engine/core/media_input.h"
#include "engine/player/frame_renderer.h"
#include "engine/player/picture.h"
#include "engine/player/preview_settings.h"

namespace kestrel::player {

class VideoPipeline {
public:
    // Null with a message when the file has no video stream that decodes.
    static std::unique_ptr<VideoPipeline> open(const std::string& path, std::shared_ptr<SettingsStore> settings,
                                               std::string* error);
    ~VideoPipeline();

    // The picture showing at target_us, rendered with the current settings. Seeking to the
    // picture on screen is how a refresh redraws it.
    std::optional<Picture> seekTo(int64_t target_us);
    // The next picture after the last one returned; nothing at the end or on an error.
    std::optional<Picture> next();

    // Makes a running decode give up soon (the player is closing).
    void requestStop() { stop_ = true; }

private:
    // Frames decoded lately are kept (by reference) so a refresh or a short step back needs
    // no new decoding; the queue ahead of the clock is never longer than this.
    static constexpr size_t kRecentFrames = 12;
    // ... and no more bytes than this: a 4K frame is 12 MB, and every frame kept is one more the
    // decoder must allocate (and the system fault in) before playing runs smoothly.
    static constexpr size_t kRecentBytes = 48u << 20;
    struct RecentFrame {
        engine::FramePtr frame;
        int64_t start_us = 0;
        int64_t duration_us = 0;
        size_t bytes = 0;
    };

    VideoPipeline() = default;
    std::optional<Picture> decodeNext();
    std::optional<Picture> renderRecent(size_t index);
    int64_t frameDurationUs(const AVFrame* frame) const;

    std::shared_ptr<SettingsStore> settings_;
    std::unique_ptr<engine::MediaInput> input_;
    std::unique_ptr<engine::FrameReader> reader_;
    int stream_index_ = -1;
    int64_t nominal_frame_us_ = 40000;
    std::deque<RecentFrame> recent_;
    size_t recent_bytes_ = 0;
    size_t replay_from_ = 0;          // recent_ frames from here on are replayed before decoding on
    std::unique_ptr<FrameRenderer> renderer_;
    std::atomic<bool> stop_{false};
};

}  // namespace kestrel::player
