#pragma once
// Decoded sound of one file as interleaved float samples at a fixed rate and channel count,
// read by source time. Reading on from where the last read ended decodes forward; any other
// position seeks.
#include "engine/core/frame_reader.h"
#include "engine/core/media_input.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel::editing {

class SoundReader {
public:
    // Null when the file has no sound.
    static std::unique_ptr<SoundReader> open(const std::string& path, int sample_rate, int channels,
                                             std::string* error = nullptr);

    // Fills count samples (count * channels floats) from source time from_us on; silence past the end.
    void read(int64_t from_us, int count, float* out);
    int64_t durationUs() const { return input_->durationUs(); }

private:
    SoundReader() = default;
    void seek(int64_t time_us);
    bool decodeMore();
    void drop(int count);

    std::unique_ptr<engine::MediaInput> input_;
    std::unique_ptr<engine::FrameReader> reader_;
    engine::SwrPtr swr_;
    engine::AudioFifoPtr fifo_;
    engine::FramePtr frame_ = engine::makeFrame();
    int rate_ = 0, channels_ = 0;
    bool started_ = false;
    bool positioned_ = false;
    bool ended_ = false;
    double fifo_start_us_ = 0;   // source time of the first sample in the fifo
};

}  // namespace kestrel::editing
