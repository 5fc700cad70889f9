#include "session/export/reverse/reverse_job.h"

#include "engine/editing/rdve.h"
#include "services/language.h"
#include "session/export/output_container.h"
#include "session/jobs/engine_runs.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstring>

namespace kestrel::session {
namespace {

// Video bit rate of the input in kbit/s as the engine's probe reports it; -1 when unreadable.
int32_t probedVideoKbps(const QString& path) {
    int64_t duration_us = 0;
    std::array<unsigned char, 528> audio{};
    std::array<unsigned char, 548> video{};
    if (rdVEGetMediaInfoLite(path.toUtf8().constData(), &duration_us, audio.data(), video.data()) != 1) return -1;
    int32_t bitsPerSecond = 0;
    std::memcpy(&bitsPerSecond, video.data() + 140, sizeof bitsPerSecond);
    return bitsPerSecond / 1000;
}

// Outputs whose whole extension names a sound-only container get the audio bit rate.
bool isAudioOutput(const QString& path) {
    static const QStringList kAudio = {"mp3", "mp2", "wma", "m4a", "aac", "wav", "ogg", "m4r", "ac3", "flac"};
    return kAudio.contains(QFileInfo(path).suffix().toLower());
}

}  // namespace

int32_t reverseAudioKbps(ReverseQuality quality) { return 192 - 64 * int32_t(quality); }

int32_t reverseVideoKbps(int32_t sourceKbps, ReverseQuality quality) {
    switch (quality) {
    case ReverseQuality::High: return sourceKbps + 2000;
    case ReverseQuality::Low: return std::max(1000, sourceKbps - 2000);
    case ReverseQuality::Normal: break;
    }
    // A source that probes below 1 kbit/s (a still picture, a rate the probe cannot tell) gets
    // the lowest rate the Low quality gives, which the encoder takes.
    return std::max(1000, sourceKbps);
}

ReverseJob::ReverseJob(ReverseRequest request, QObject* parent) : Job(parent), request_(std::move(request)) {}

void ReverseJob::begin() {
    // "Original" keeps the input's container where FFmpeg writes it, else the nearest one.
    request_.outputPath = writableOutputPath(request_.inputPath, request_.outputPath);
    const int32_t sourceKbps = probedVideoKbps(request_.inputPath);
    if (sourceKbps < 0) return finishFailed(0, services::localized(QStringLiteral("ReverseInputUnreadableMessage")));
    ReverseHandle handle = ReverseHandle::create();
    if (!handle) return finishFailed(0, services::localized(QStringLiteral("ReverseInputUnreadableMessage")));
    void* job = handle.get();
    const QByteArray input = request_.inputPath.toUtf8();
    const QByteArray output = request_.outputPath.toUtf8();
    const bool audioOutput = isAudioOutput(request_.outputPath);
    int32_t rc;
    if (!accepted(rc = rdVEMediaReverseSetInputFile(job, input.constData()))) return finishFailed(rc);
    if (!accepted(rc = rdVEMediaReverseSetOutputPath(job, output.constData()))) return finishFailed(rc);
    if (!accepted(rc = rdVEMediaReverseSetMaxCacheSize(job, kCacheMegabytes))) return finishFailed(rc);
    if (!accepted(rc = rdVEMediaReverseSetCutTime(job, request_.start_us, request_.end_us))) return finishFailed(rc);
    if (!accepted(rc = rdVEMediaReverseSetEnocdeThreads(job, kEncodeThreads))) return finishFailed(rc);
    if (!accepted(rc = rdVEMediaReverseSetAudioMode(job, int32_t(request_.sound)))) return finishFailed(rc);
    rc = audioOutput ? rdVEMediaReverseSetAudioBitrate(job, reverseAudioKbps(request_.quality))
                     : rdVEMediaReverseSetVideoBitrate(job, reverseVideoKbps(sourceKbps, request_.quality));
    if (!accepted(rc)) return finishFailed(rc);
    const QString written = request_.outputPath;
    runEngine(std::make_shared<ReverseRun>(std::move(handle)), 0.0, 1.0, [this, written](int32_t result) {
        if (runOutcome(result) == Outcome::Done)
            finishDone({written});
        else
            finishFailed(result);
    });
}

}  // namespace kestrel::session
