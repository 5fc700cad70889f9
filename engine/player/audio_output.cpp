#include "engine/player/audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <cstring>

namespace kestrel::player {

namespace {

// Pull-mode source: the sink reads from the ring; silence fills any gap so the device never
// stalls (and the clock, which follows the ring's read position, simply holds).
class RingDevice : public QIODevice {
public:
    explicit RingDevice(std::shared_ptr<AudioRing> ring) : ring_(std::move(ring)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 max_size) override {
        const size_t frame_bytes = AudioRing::kChannels * sizeof(float);
        const size_t frames = size_t(max_size) / frame_bytes;
        const size_t got = ring_->read(reinterpret_cast<float*>(data), frames);
        std::memset(data + got * frame_bytes, 0, (frames - got) * frame_bytes);
        return qint64(frames * frame_bytes);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::shared_ptr<AudioRing> ring_;
};

}  // namespace

std::unique_ptr<AudioOutput> AudioOutput::create(std::shared_ptr<AudioRing> ring) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return nullptr;
    QAudioFormat format;
    format.setSampleRate(AudioRing::kSampleRate);
    format.setChannelCount(AudioRing::kChannels);
    format.setSampleFormat(QAudioFormat::Float);
    if (!device.isFormatSupported(format)) return nullptr;
    std::unique_ptr<AudioOutput> out(new AudioOutput);
    out->ring_ = std::move(ring);
    out->source_ = std::make_unique<RingDevice>(out->ring_);
    out->sink_ = std::make_unique<QAudioSink>(device, format);
    return out;
}

AudioOutput::~AudioOutput() {
    if (sink_) sink_->stop();
}

void AudioOutput::start() {
    if (!started_) {
        sink_->start(source_.get());
        started_ = true;
    } else {
        sink_->resume();
    }
}

void AudioOutput::suspend() {
    if (started_) sink_->suspend();
}

std::optional<int64_t> AudioOutput::heardTimeUs() const {
    const int64_t read_us = ring_->readPositionUs();
    if (!started_ || read_us < 0) return std::nullopt;
    // What the device holds but has not played yet lies behind the read position.
    const qint64 pending_bytes = sink_->bufferSize() - sink_->bytesFree();
    const double pending_s = double(pending_bytes) / double(AudioRing::kChannels * sizeof(float) * AudioRing::kSampleRate);
    return read_us - static_cast<int64_t>(pending_s * 1e6 * ring_->speed());
}

}  // namespace kestrel::player
