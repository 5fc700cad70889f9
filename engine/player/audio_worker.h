#pragma once
// The audio decode thread: the file's own sound (the chosen stream) and the music tracks go
// through the engine's audio graph builder, as in an export, and the mix is handed to the
// sound device through the ring. A restart (seek, stream or mix change) starts it over from a
// source time.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/core/render_settings.h"
#include "engine/player/audio_ring.h"

namespace kestrel::player {

class AudioWorker {
public:
    // Null when the file has no audio stream.
    static std::unique_ptr<AudioWorker> create(const std::string& path, std::shared_ptr<AudioRing> ring);
    // True when the file's default audio stream decodes at least one frame.
    static bool decodes(const std::string& path);
    ~AudioWorker();

    // Drops what is queued and plays from at_us (source time line) with this mix and stream.
    void restart(int64_t at_us, const engine::AudioSettings& mix, int stream_index);
    // All sound up to the end of the file has been handed to the ring.
    bool reachedEnd() const;

private:
    AudioWorker(std::string path, std::shared_ptr<AudioRing> ring);
    void run();
    // Decodes and mixes from at_us until the end, a restart or quit; true when it reached the end.
    bool playFrom(int64_t at_us, const engine::AudioSettings& mix, int stream_index, uint64_t generation);

    const std::string path_;
    std::shared_ptr<AudioRing> ring_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    bool ended_ = false;
    bool quit_ = false;
    int64_t at_us_ = 0;
    engine::AudioSettings mix_;
    int stream_index_ = -1;
    uint64_t generation_ = 0;
    std::thread thread_;
};

// The mix as it sounds from at_us on: the main sound cut to start there, music moved to match.
engine::AudioSettings mixFrom(const engine::AudioSettings& mix, int64_t at_us, int64_t file_duration_us);

}  // namespace kestrel::player
