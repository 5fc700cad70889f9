#include "engine/player/playback_clock.h"

namespace kestrel::player {

void PlaybackClock::setAudioTimeSource(AudioTimeSource source) {
    std::lock_guard lock(mutex_);
    audio_ = std::move(source);
}

void PlaybackClock::setSpeed(double speed) {
    std::lock_guard lock(mutex_);
    anchor_us_ = systemNowLocked();
    anchor_wall_ = Steady::now();
    speed_ = speed > 0 ? speed : 1.0;
}

void PlaybackClock::play() {
    std::lock_guard lock(mutex_);
    if (running_) return;
    anchor_wall_ = Steady::now();
    running_ = true;
}

void PlaybackClock::pause() {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    anchor_us_ = systemNowLocked();
    running_ = false;
}

void PlaybackClock::set(int64_t source_us) {
    std::lock_guard lock(mutex_);
    anchor_us_ = source_us;
    anchor_wall_ = Steady::now();
}

bool PlaybackClock::running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

int64_t PlaybackClock::nowUs() const {
    std::lock_guard lock(mutex_);
    if (running_ && audio_) {
        if (std::optional<int64_t> heard = audio_()) {
            // Follow the sound, and keep the system clock in step so a gap in the sound
            // does not make the picture jump.
            anchor_us_ = *heard;
            anchor_wall_ = Steady::now();
            return *heard;
        }
    }
    return systemNowLocked();
}

int64_t PlaybackClock::systemNowLocked() const {
    if (!running_) return anchor_us_;
    const auto elapsed_us = std::chrono::duration_cast<std::chrono::microseconds>(Steady::now() - anchor_wall_).count();
    return anchor_us_ + static_cast<int64_t>(double(elapsed_us) * speed_);
}

}  // namespace kestrel::player
