#pragma once
// The presentation clock, in microseconds of the source time line. When sound is being heard
// the audio output is the master (its played position); otherwise, and on machines without a
// sound device, a steady system clock scaled by the speed stands in.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

namespace kestrel::player {

class PlaybackClock {
public:
    // Returns the source time of the sound now leaving the speaker, or nothing when no sound plays.
    using AudioTimeSource = std::function<std::optional<int64_t>()>;

    void setAudioTimeSource(AudioTimeSource source);
    void setSpeed(double speed);
    void play();
    void pause();
    void set(int64_t source_us);

    bool running() const;
    int64_t nowUs() const;

private:
    using Steady = std::chrono::steady_clock;
    int64_t systemNowLocked() const;

    mutable std::mutex mutex_;
    AudioTimeSource audio_;
    double speed_ = 1.0;
    bool running_ = false;
    mutable int64_t anchor_us_ = 0;           // source time at anchor_wall_
    mutable Steady::time_point anchor_wall_{};
};

}  // namespace kestrel::player
