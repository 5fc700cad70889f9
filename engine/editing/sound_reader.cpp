#include "engine/editing/sound_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace kestrel::editing {

std::unique_ptr<SoundReader> SoundReader::open(const std::string& path, int sample_rate, int channels,
                                               std::string* error) {
    std::unique_ptr<SoundReader> sound(new SoundReader());
    sound->input_ = engine::MediaInput::open(path, error);
    if (!sound->input_) return nullptr;
    int stream = sound->input_->bestAudioStream();
    if (stream < 0) {
        if (error) *error = "no sound in " + path;
        return nullptr;
    }
    sound->reader_ = engine::FrameReader::open(*sound->input_, stream, error);
    if (!sound->reader_) return nullptr;
    sound->rate_ = sample_rate;
    sound->channels_ = channels;
    sound->fifo_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLT, channels, sample_rate));
    if (!sound->fifo_) return nullptr;
    return sound;
}

void SoundReader::seek(int64_t time_us) {
    av_audio_fifo_reset(fifo_.get());
    swr_.reset();
    ended_ = !reader_->seekUs(std::max<int64_t>(0, time_us));
    positioned_ = false;
    fifo_start_us_ = double(time_us);
}

bool SoundReader::decodeMore() {
    if (ended_) return false;
    int rc = reader_->next(frame_.get());
    bool flushing = rc != 1;
    if (flushing) ended_ = true;
    if (flushing && !swr_) return false;
    if (!swr_) {
        AVChannelLayout out_layout;
        av_channel_layout_default(&out_layout, channels_);
        AVChannelLayout in_layout;
        if (av_channel_layout_copy(&in_layout, &frame_->ch_layout) < 0 || in_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&in_layout, frame_->ch_layout.nb_channels);
        SwrContext* raw = nullptr;
        int ok = swr_alloc_set_opts2(&raw, &out_layout, AV_SAMPLE_FMT_FLT, rate_, &in_layout,
                                     static_cast<AVSampleFormat>(frame_->format), frame_->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in_layout);
        av_channel_layout_uninit(&out_layout);
        swr_.reset(raw);
        if (ok < 0 || swr_init(raw) < 0) {
            swr_.reset();
            ended_ = true;
            return false;
        }
        if (!positioned_) {
            // The first frame after a seek may start before the asked time (dropped below) or after it.
            double frame_us = double(reader_->frameTimeUs(frame_.get()));
            double gap_us = frame_us - fifo_start_us_;
            if (gap_us > 0) {
                int silence = static_cast<int>(std::lround(gap_us * rate_ / 1e6));
                std::vector<float> zeros(static_cast<size_t>(silence) * channels_, 0.0f);
                void* planes[1] = {zeros.data()};
                if (silence > 0) av_audio_fifo_write(fifo_.get(), planes, silence);
            } else {
                fifo_start_us_ = frame_us;
            }
            positioned_ = true;
        }
    }
    int in_count = flushing ? 0 : frame_->nb_samples;
    int out_cap = swr_get_out_samples(swr_.get(), in_count) + 32;
    std::vector<float> out(static_cast<size_t>(out_cap) * channels_);
    uint8_t* out_planes[1] = {reinterpret_cast<uint8_t*>(out.data())};
    int got = swr_convert(swr_.get(), out_planes, out_cap,
                          flushing ? nullptr : const_cast<const uint8_t**>(frame_->extended_data), in_count);
    if (got > 0) {
        void* planes[1] = {out.data()};
        av_audio_fifo_write(fifo_.get(), planes, got);
    }
    av_frame_unref(frame_.get());
    return got > 0 || !flushing;
}

void SoundReader::drop(int count) {
    count = std::min(count, av_audio_fifo_size(fifo_.get()));
    if (count <= 0) return;
    av_audio_fifo_drain(fifo_.get(), count);
    fifo_start_us_ += count * 1e6 / rate_;
}

void SoundReader::read(int64_t from_us, int count, float* out) {
    std::fill(out, out + static_cast<size_t>(count) * channels_, 0.0f);
    if (count <= 0) return;
    double tolerance_us = 2e6 / rate_;
    if (!started_ || from_us < fifo_start_us_ - tolerance_us || from_us > fifo_start_us_ + 1e6) {
        seek(from_us);
        started_ = true;
    }
    // Decode until the asked range is in the fifo, dropping what lies before it.
    for (;;) {
        int skip = static_cast<int>(std::floor((from_us - fifo_start_us_) * rate_ / 1e6 + 0.5));
        if (skip > 0 && av_audio_fifo_size(fifo_.get()) > 0) drop(skip);
        skip = static_cast<int>(std::floor((from_us - fifo_start_us_) * rate_ / 1e6 + 0.5));
        if (skip <= 0 && av_audio_fifo_size(fifo_.get()) >= count) break;
        if (!decodeMore() && ended_) break;
    }
    int lead = std::max(0, static_cast<int>(std::floor((fifo_start_us_ - from_us) * rate_ / 1e6 + 0.5)));
    lead = std::min(lead, count);
    int wanted = count - lead;
    void* planes[1] = {out + static_cast<size_t>(lead) * channels_};
    int got = wanted > 0 ? av_audio_fifo_read(fifo_.get(), planes, wanted) : 0;
    if (got > 0) fifo_start_us_ += got * 1e6 / rate_;
}

}  // namespace kestrel::editing
