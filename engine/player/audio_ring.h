#pragma once
// Hand-over of decoded sound from the audio decode thread to the sound device. Samples are
// interleaved float stereo at a fixed rate; each block carries the source time of its first
// sample and how much source time one output sample covers (the speed), so the device's read
// position can be turned back into a source time for the clock.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace kestrel::player {

class AudioRing {
public:
    static constexpr int kChannels = 2;
    static constexpr int kSampleRate = 48000;

    explicit AudioRing(size_t max_frames = kSampleRate / 2) : max_frames_(max_frames) {}

    // Waits for room (bounded to about half a second); false when closed or flushed meanwhile.
    bool push(std::vector<float> samples, int64_t source_start_us, double speed, uint64_t generation);

    // Copies up to frames sample frames into out; returns how many were copied.
    size_t read(float* out, size_t frames);

    // Drops everything queued and starts a new generation (after a seek or stream change).
    uint64_t flush();
    void close();

    // Source time just after the last sample handed to the device; -1 before any.
    int64_t readPositionUs() const { return read_position_us_.load(); }
    double speed() const { return read_speed_.load(); }
    size_t queuedFrames() const;

    // Gain of the whole mix, applied as the device reads so a volume change is heard at once.
    void setGain(double gain) { gain_ = gain < 0 ? 0 : gain; }

private:
    struct Block {
        std::vector<float> samples;
        size_t offset_frames = 0;
        int64_t start_us = 0;
        double speed = 1.0;
    };

    const size_t max_frames_;
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::deque<Block> blocks_;
    size_t queued_frames_ = 0;
    uint64_t generation_ = 0;
    bool closed_ = false;
    std::atomic<int64_t> read_position_us_{-1};
    std::atomic<double> read_speed_{1.0};
    std::atomic<double> gain_{1.0};
};

}  // namespace kestrel::player
