#pragma once
// Sound output through Qt Multimedia. It exists only when the machine has a sound device;
// without one the player runs on its system clock and never fails for that.
#include <QIODevice>
#include <memory>
#include <optional>

#include "engine/player/audio_ring.h"

class QAudioSink;

namespace kestrel::player {

class AudioOutput {
public:
    // Null when there is no sound device or the device refuses the format.
    static std::unique_ptr<AudioOutput> create(std::shared_ptr<AudioRing> ring);
    ~AudioOutput();

    void start();
    void suspend();

    // Source time of the sound now heard, or nothing before the first sample (main thread).
    std::optional<int64_t> heardTimeUs() const;

private:
    AudioOutput() = default;
    std::shared_ptr<AudioRing> ring_;
    std::unique_ptr<QIODevice> source_;
    std::unique_ptr<QAudioSink> sink_;
    bool started_ = false;
};

}  // namespace kestrel::player
