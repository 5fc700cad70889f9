#pragma once
// The reverse tool's run: a range of one file rendered backwards by the editing engine's reverse
// encoder, in bounded memory (decoded pictures beyond a small cache go to the engine's own
// temporary file). The outcome is the encoder's return value alone. A stop goes through the
// engine, which removes its partial output once it no longer writes it; this job never deletes
// the output itself.
#include <QString>
#include <cstdint>

#include "session/jobs/job.h"

namespace kestrel::session {

// What the encoder does with the original sound (the engine's own values).
enum class ReverseSound : int32_t { Remove = 0, Keep = 1, Reverse = 2 };

// The export dialog's quality rows.
enum class ReverseQuality { High = 0, Normal = 1, Low = 2 };

struct ReverseRequest {
    QString inputPath;
    QString outputPath;
    int64_t start_us = 0;
    int64_t end_us = 0;
    ReverseSound sound = ReverseSound::Keep;
    ReverseQuality quality = ReverseQuality::Normal;
};

// The bit rates sent for a quality: audio outputs 192/128/64 kbit/s; video outputs the source's
// rate (at least 1000), 2000 kbit/s more at High and 2000 less (at least 1000) at Low.
int32_t reverseAudioKbps(ReverseQuality quality);
int32_t reverseVideoKbps(int32_t sourceKbps, ReverseQuality quality);

class ReverseJob : public Job {
    Q_OBJECT
public:
    explicit ReverseJob(ReverseRequest request, QObject* parent = nullptr);
    const ReverseRequest& request() const { return request_; }

    // Megabytes of decoded pictures the encoder keeps in memory.
    static constexpr int32_t kCacheMegabytes = 10;
    static constexpr int32_t kEncodeThreads = 2;

protected:
    void begin() override;

private:
    ReverseRequest request_;
};

}  // namespace kestrel::session
