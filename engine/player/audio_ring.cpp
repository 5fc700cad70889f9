#include "engine/player/audio_ring.h"

#include <algorithm>
#include <cstring>

namespace kestrel::player {

bool AudioRing::push(std::vector<float> samples, int64_t source_start_us, double speed, uint64_t generation) {
    const size_t frames = samples.size() / kChannels;
    std::unique_lock lock(mutex_);
    room_.wait(lock, [&] { return closed_ || generation != generation_ || queued_frames_ == 0 || queued_frames_ + frames <= max_frames_; });
    if (closed_ || generation != generation_) return false;
    queued_frames_ += frames;
    blocks_.push_back({std::move(samples), 0, source_start_us, speed});
    return true;
}

size_t AudioRing::read(float* out, size_t frames) {
    std::lock_guard lock(mutex_);
    size_t copied = 0;
    while (copied < frames && !blocks_.empty()) {
        Block& b = blocks_.front();
        const size_t available = b.samples.size() / kChannels - b.offset_frames;
        const size_t n = std::min(available, frames - copied);
        std::memcpy(out + copied * kChannels, b.samples.data() + b.offset_frames * kChannels, n * kChannels * sizeof(float));
        b.offset_frames += n;
        copied += n;
        read_speed_ = b.speed;
        read_position_us_ = b.start_us + static_cast<int64_t>(double(b.offset_frames) * 1e6 * b.speed / kSampleRate);
        if (b.offset_frames * kChannels >= b.samples.size()) blocks_.pop_front();
    }
    const float gain = static_cast<float>(gain_.load());
    if (gain != 1.0f)
        for (size_t i = 0; i < copied * kChannels; ++i) out[i] = std::clamp(out[i] * gain, -1.0f, 1.0f);
    queued_frames_ -= copied;
    if (copied) room_.notify_all();
    return copied;
}

uint64_t AudioRing::flush() {
    std::lock_guard lock(mutex_);
    blocks_.clear();
    queued_frames_ = 0;
    read_position_us_ = -1;
    ++generation_;
    room_.notify_all();
    return generation_;
}

void AudioRing::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    room_.notify_all();
}

size_t AudioRing::queuedFrames() const {
    std::lock_guard lock(mutex_);
    return queued_frames_;
}

}  // namespace kestrel::player
