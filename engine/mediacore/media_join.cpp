#include "engine/mediacore/media_join.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <unistd.h>

#include "engine/core/join_job.h"
#include "engine/core/codec_choice.h"
#include "engine/mediacore/handle_registry.h"
#include "engine/mediacore/kept_piece_cut.h"

using kestrel::engine::JoinClip;
using kestrel::engine::JoinJob;
using kestrel::engine::JoinSettings;
using kestrel::engine::JoinTransitionKind;
using kestrel::engine::ResultCode;
using kestrel::engine::toInt;

// A job's settings and its run. Setters and Start take the lock; Stop and GetProgress do not,
// so they answer while Start blocks. Stop returns once the run has cleaned up.
struct MediaJoinJob {
    std::mutex mutex;
    JoinSettings settings;
    JoinJob run;
    int64_t next_clip_id = 1;
    bool started = false;

    JoinClip* clip(int64_t id) {
        for (JoinClip& c : settings.clips)
            if (c.id == id) return &c;
        return nullptr;
    }
};

namespace {

kestrel::mediacore::HandleRegistry<MediaJoinJob>& registry() {
    static kestrel::mediacore::HandleRegistry<MediaJoinJob> jobs;
    return jobs;
}

std::shared_ptr<MediaJoinJob> lookup(void* handle) { return handle ? registry().find(handle) : nullptr; }

constexpr int32_t kOk = 1;
const int32_t kBadArgument = toInt(ResultCode::BadArgument);

// Runs a setter on a job that exists and has not started.
template <typename Setter>
int32_t withSettings(void* handle, Setter setter) {
    const auto job = lookup(handle);
    if (!job) return kBadArgument;
    std::lock_guard lock(job->mutex);
    if (job->started) return kBadArgument;
    return setter(*job);
}

bool validCodecName(const char* name, AVMediaType type) {
    if (!name || !*name) return false;
    return std::string(name) == "copy" || kestrel::engine::findEncoderByName(name, type) != nullptr;
}

}  // namespace

extern "C" {

void* apiMediaJoinCreate(void) { return registry().add(std::make_shared<MediaJoinJob>()); }

int64_t apiMediaJoinAddMediaClip(void* handle, const char* path, int64_t startUs, int64_t endUs) {
    if (!path || !*path || startUs < 0 || endUs < 0) return 0;
    if (access(path, R_OK) != 0) return 0;
    int64_t id = 0;
    withSettings(handle, [&](MediaJoinJob& job) {
        JoinClip clip;
        clip.id = job.next_clip_id++;
        clip.path = path;
        clip.start_us = startUs;
        clip.end_us = endUs;
        job.settings.clips.push_back(clip);
        id = clip.id;
        return kOk;
    });
    return id;
}

int32_t apiMediaJoinSetOutputPath(void* handle, const char* path) {
    if (!path || !*path) return kBadArgument;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return toInt(ResultCode::OutputExists);
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.output_path = path;
        return kOk;
    });
}

int32_t apiMediaJoinSetVideoCodec(void* handle, const char* name) {
    if (!validCodecName(name, AVMEDIA_TYPE_VIDEO)) return toInt(ResultCode::EncoderMissing);
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.video_codec = name;
        return kOk;
    });
}

int32_t apiMediaJoinSetAudioCodec(void* handle, const char* name) {
    if (!validCodecName(name, AVMEDIA_TYPE_AUDIO)) return toInt(ResultCode::EncoderMissing);
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.audio_codec = name;
        return kOk;
    });
}

int32_t apiMediaJoinSetVideoBitrate(void* handle, int32_t kbps) {
    if (kbps < 0) return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.video_kbps = kbps;
        return kOk;
    });
}

int32_t apiMediaJoinSetAudioBitrate(void* handle, int32_t kbps) {
    if (kbps < 0) return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.audio_kbps = kbps;
        return kOk;
    });
}

int32_t apiMediaJoinSetVideoFps(void* handle, double fps) {
    if (!std::isfinite(fps) || fps < 0 || fps > 1000) return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.fps = fps;
        return kOk;
    });
}

int32_t apiMediaJoinSetVideoFrameSize(void* handle, int32_t width, int32_t height) {
    const bool keep = width == 0 && height == 0;
    if (!keep && (width < 2 || height < 2 || width > 16384 || height > 16384)) return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.width = width;
        job.settings.height = height;
        return kOk;
    });
}

int32_t apiMediaJoinSetAudioEncodeContext(void* handle, int32_t channels, int32_t sampleRate) {
    if (channels < 0 || channels > 8 || sampleRate < 0 || (sampleRate > 0 && (sampleRate < 8000 || sampleRate > 384000)))
        return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.channels = channels;
        job.settings.sample_rate = sampleRate;
        return kOk;
    });
}

int32_t apiMediaJoinSetAudioVolumn(void* handle, int64_t clipId, double volume) {
    if (!std::isfinite(volume) || volume < 0 || volume > 10) return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        JoinClip* clip = job.clip(clipId);
        if (!clip) return kBadArgument;
        clip->volume = volume;
        return kOk;
    });
}

int32_t apiMediaJoinSetTransition(void* handle, int64_t clipId, int32_t type, int64_t durationUs) {
    if (type < 0 || type > 3 || durationUs < 0) return kBadArgument;
    return withSettings(handle, [&](MediaJoinJob& job) {
        JoinClip* clip = job.clip(clipId);
        if (!clip) return kBadArgument;
        clip->transition = static_cast<JoinTransitionKind>(type);
        clip->transition_us = durationUs;
        return kOk;
    });
}

int32_t apiMediaJoinSetForceEncode(void* handle, int32_t on) {
    return withSettings(handle, [&](MediaJoinJob& job) {
        job.settings.force_encode = on != 0;
        return kOk;
    });
}

int32_t apiMediaJoinStart(void* handle) {
    const auto job = lookup(handle);
    if (!job) return kBadArgument;
    JoinSettings settings;
    {
        std::lock_guard lock(job->mutex);
        if (job->started) return kBadArgument;
        job->started = true;
        settings = job->settings;
    }
    job->run.setSettings(std::move(settings));
    job->run.setPieceCutter(kestrel::mediacore::cutKeptPiece);
    return toInt(job->run.start());
}

double apiMediaJoinGetProgress(void* handle) {
    const auto job = lookup(handle);
    return job ? job->run.exactProgressPercent() : -1.0;
}

int32_t apiMediaJoinStop(void* handle) {
    const auto job = lookup(handle);
    if (!job) return kBadArgument;
    job->run.stop();
    return kOk;
}

int32_t apiMediaJoinClose(void* handle) {
    const std::shared_ptr<MediaJoinJob> job = handle ? registry().remove(handle) : nullptr;
    if (!job) return kBadArgument;
    // A Start still running on another thread keeps its own owner; make it end first.
    if (job->run.isRunning()) job->run.stop();
    return kOk;
}

}  // extern "C"
