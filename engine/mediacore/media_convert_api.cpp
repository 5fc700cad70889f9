// The convert half of the C interface. Setters only record settings; Start builds and runs
// the pipeline.
#include "engine/core/subtitle_check.h"
#include "engine/core/codec_choice.h"
#include "engine/core/record_text.h"
#include "engine/mediacore/convert_job.h"
#include "engine/mediacore/convert_pipeline.h"
#include "engine/core/effect_chains.h"
#include "engine/mediacore/handle_registry.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/stream_records.h"

#include <atomic>
#include <cmath>
#include <filesystem>
#include <functional>

namespace kestrel::mediacore {
namespace {

using engine::fieldText;

HandleRegistry<ConvertJob>& convertJobs() {
    static HandleRegistry<ConvertJob> registry;
    return registry;
}

std::atomic<MediaDrawTextCallback> g_draw_text{nullptr};

constexpr int32_t kOk = 1;
constexpr int32_t kFailed = -1;

// Runs a change of the settings under the job's lock; a missing job or a refused value fails.
int32_t withSettings(void* handle, const std::function<bool(ConvertSettings&)>& change) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job) return kFailed;
    std::lock_guard lock(job->settingsMutex());
    return change(job->settings()) ? kOk : kFailed;
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool knownCodec(const char* name, AVMediaType type) {
    if (!name) return false;
    std::string text = name;
    return text.empty() || text == "copy" || engine::findEncoderByName(text, type) != nullptr;
}

template <typename Record, typename Fill>
int32_t streamInfo(void* handle, int32_t* count, Record* buffer, AVMediaType type, Fill fill) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job || !count) return kFailed;
    std::lock_guard lock(job->settingsMutex());
    const engine::MediaInput* input = job->input();
    if (!input) return kFailed;
    std::vector<int> streams = input->streamsOfType(type);
    if (!buffer) {
        *count = static_cast<int32_t>(streams.size());
        return kOk;
    }
    size_t n = std::min<size_t>(streams.size(), *count > 0 ? size_t(*count) : 0);
    for (size_t i = 0; i < n; ++i) fill(*input, streams[i], &buffer[i]);
    return kOk;
}

}  // namespace
}  // namespace kestrel::mediacore

using namespace kestrel;
using namespace kestrel::mediacore;

extern "C" {

void* apiMediaConvertCreate(void) { return convertJobs().add(std::make_shared<ConvertJob>()); }

int32_t apiMediaConvertSetInputMedia(void* handle, const char* path) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job || !path) return kFailed;
    return job->setInput(path) ? kOk : kFailed;
}

int64_t apiMediaConvertGetDuration(void* handle) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job) return kFailed;
    std::lock_guard lock(job->settingsMutex());
    return job->input() ? job->input()->durationUs() : kFailed;
}

int32_t apiMediaConvertGetAudioStreamInfo(void* handle, int32_t* count, MediaAudioInfo* buffer) {
    return streamInfo(handle, count, buffer, AVMEDIA_TYPE_AUDIO, fillAudioInfo);
}

int32_t apiMediaConvertGetVideoStreamInfo(void* handle, int32_t* count, MediaVideoInfo* buffer) {
    return streamInfo(handle, count, buffer, AVMEDIA_TYPE_VIDEO, fillVideoInfo);
}

int32_t apiMediaConvertSetOutputPath(void* handle, const char* path) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (!path || !*path) return false;
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return false;  // never overwritten
        s.output_path = path;
        return true;
    });
}

int32_t apiMediaConvertSetCutTime(void* handle, int64_t start_us, int64_t end_us) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (start_us < 0 || end_us < 0 || end_us < start_us) return false;
        s.cut_set = true;
        s.cut_start_us = start_us;
        s.cut_end_us = end_us;
        return true;
    });
}

int32_t apiMediaConvertSetLimitFileSize(void* handle, int64_t bytes) {
    return withSettings(handle, [&](ConvertSettings& s) { return bytes >= 0 && (s.limit_bytes = bytes, true); });
}

int32_t apiMediaConvertSetForceEncode(void* handle, int32_t on) {
    return withSettings(handle, [&](ConvertSettings& s) {
        s.force_encode = on != 0;
        return true;
    });
}

int32_t apiMediaConvertSetVcodec(void* handle, const char* name) {
    return withSettings(handle, [&](ConvertSettings& s) {
        return knownCodec(name, AVMEDIA_TYPE_VIDEO) && (s.video_codec = name, true);
    });
}

int32_t apiMediaConvertSetAcodec(void* handle, const char* name) {
    return withSettings(handle, [&](ConvertSettings& s) {
        return knownCodec(name, AVMEDIA_TYPE_AUDIO) && (s.audio_codec = name, true);
    });
}

int32_t apiMediaConvertSetVideoBitrate(void* handle, int32_t kbps) {
    return withSettings(handle, [&](ConvertSettings& s) { return kbps >= 0 && (s.video_kbps = kbps, true); });
}

int32_t apiMediaConvertSetAudioBitrate(void* handle, int32_t kbps) {
    return withSettings(handle, [&](ConvertSettings& s) { return kbps >= 0 && (s.audio_kbps = kbps, true); });
}

int32_t apiMediaConvertSetVideoFps(void* handle, double fps) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (!(fps > 0) || !std::isfinite(fps) || fps > 1000) return false;
        s.frame_rate = frameRateFromDouble(fps);
        return true;
    });
}

int32_t apiMediaConvertSetVideoFrameSize(void* handle, int32_t width, int32_t height) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
        s.width = width;
        s.height = height;
        return true;
    });
}

int32_t apiMediaConvertSetAudioEncodeContext(void* handle, int32_t channels, int32_t sample_rate) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (channels < 0 || channels > 16 || sample_rate < 0 || sample_rate > 384000) return false;
        s.channels = channels;
        s.sample_rate = sample_rate;
        return true;
    });
}

int32_t apiMediaConvertSetAudioIndex(void* handle, int32_t stream_index) {
    return withSettings(handle, [&](ConvertSettings& s) { return s.audio_index = stream_index, true; });
}

int32_t apiMediaConvertSetCropSize(void* handle, MediaRect margins) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (margins.left < 0 || margins.top < 0 || margins.right < 0 || margins.bottom < 0) return false;
        s.crop = engine::CropMargins{margins.left, margins.top, margins.right, margins.bottom};
        return true;
    });
}

int32_t apiMediaConvertGetEvenSizeRule(void* handle, const char* output_name) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job || !output_name || !*output_name) return kFailed;
    std::lock_guard lock(job->settingsMutex());
    const engine::MediaInput* input = job->input();
    if (!input) return kFailed;
    const int rule = evenSizeRule(*input, job->settings().video_codec, output_name);
    return rule < 0 ? kFailed : rule;
}

int32_t apiMediaConvertSetRotateAngle(void* handle, int32_t degrees) {
    return withSettings(handle, [&](ConvertSettings& s) { return s.rotation_deg = engine::normalizedAngle(degrees), true; });
}

int32_t apiMediaConvertHFlipStatus(void* handle, int32_t on) {
    return withSettings(handle, [&](ConvertSettings& s) { return s.hflip = on != 0, true; });
}

int32_t apiMediaConvertVFlipStatus(void* handle, int32_t on) {
    return withSettings(handle, [&](ConvertSettings& s) { return s.vflip = on != 0, true; });
}

int32_t apiMediaConvertSetSpeed(void* handle, double factor) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (!(factor >= 0.1 - 1e-9 && factor <= 4.0 + 1e-9)) return false;
        s.speed = factor;
        return true;
    });
}

int32_t apiMediaConvertAdjustBCS(void* handle, int32_t brightness, int32_t contrast, int32_t saturation) {
    return withSettings(handle, [&](ConvertSettings& s) {
        if (std::abs(brightness) > 255 || std::abs(contrast) > 100 || std::abs(saturation) > 100) return false;
        s.brightness = brightness;
        s.contrast = contrast;
        s.saturation = saturation;
        return true;
    });
}

int32_t apiMediaConvertAddImageEffect(void* handle, int32_t effect_id) {
    std::string chain = engine::imageEffectChain(effect_id);
    return withSettings(handle, [&](ConvertSettings& s) { return !chain.empty() && (s.effect_chains.push_back(chain), true); });
}

int32_t apiMediaConvertAddImageWatermask(void* handle, ImageWatermarkRecord record) {
    std::string path = fieldText(record.path);
    if (!isFile(path)) return kFailed;
    return withSettings(handle, [&](ConvertSettings& s) {
        WatermarkEntry entry;
        entry.mark.kind = engine::Watermark::Kind::Picture;
        entry.mark.path = path;
        entry.mark.rect = engine::PixelRect{record.left, record.top, record.right, record.bottom};
        entry.mark.transparency_pct = record.transparency;
        entry.mark.start_us = record.start_us;
        entry.mark.end_us = record.end_us;
        s.watermarks.push_back(entry);
        return true;
    });
}

int32_t apiMediaConvertAddVideoWatermark(void* handle, VideoWatermarkRecord record) {
    std::string path = fieldText(record.path);
    std::unique_ptr<engine::MediaInput> probe = engine::MediaInput::open(path);
    if (!probe || probe->bestVideoStream() < 0) return kFailed;
    return withSettings(handle, [&](ConvertSettings& s) {
        WatermarkEntry entry;
        entry.mark.kind = engine::Watermark::Kind::Video;
        entry.mark.path = path;
        entry.mark.rect = engine::PixelRect{record.left, record.top, record.right, record.bottom};
        entry.mark.transparency_pct = record.transparency;
        entry.mark.start_us = record.start_us;
        entry.mark.end_us = record.end_us;
        entry.mark.file_start_us = std::max<int64_t>(0, record.file_start_us);
        entry.mark.file_end_us = record.file_end_us;
        s.watermarks.push_back(entry);
        return true;
    });
}

int32_t apiMediaConvertSetDrawTextCallback(MediaDrawTextCallback callback) {
    g_draw_text.store(callback);
    return kOk;
}

int32_t apiMediaConvertAddTextWatermask(void* handle, TextWatermarkRecord record) {
    MediaDrawTextCallback callback = g_draw_text.load();
    if (!callback) return kFailed;
    return withSettings(handle, [&](ConvertSettings& s) {
        WatermarkEntry entry;
        entry.mark.kind = engine::Watermark::Kind::Text;
        entry.mark.start_us = record.start_us;
        entry.mark.end_us = record.end_us;
        entry.text = PendingTextWatermark{record, callback};
        s.watermarks.push_back(entry);
        return true;
    });
}

int32_t apiMediaConvertSetSubtitle(void* handle, SubtitleRecord record) {
    std::string path = fieldText(record.path);
    if (!path.empty() && (!isFile(path) || !engine::checkSubtitleFile(path).ok())) return kFailed;
    return withSettings(handle, [&](ConvertSettings& s) {
        if (path.empty()) {
            s.subtitle.reset();
            return true;
        }
        engine::SubtitleStyle style;
        style.path = path;
        style.font_file = fieldText(record.font_path);
        if (!isFile(style.font_file)) style.font_file.clear();
        style.font_size_px = std::max(0, record.font_size);
        style.shadow = record.shadow != 0;
        style.colour_rgb0 = record.colour;
        style.has_colour = true;
        style.position_px = record.position;
        s.subtitle = style;
        return true;
    });
}

int32_t apiMediaConvertAddDubbingMusic(void* handle, const char* path, int64_t source_start_us, int64_t source_end_us,
                                       int64_t timeline_start_us, int64_t timeline_end_us, int64_t fade_in_us,
                                       int64_t fade_out_us, double volume) {
    if (!path) return kFailed;
    std::unique_ptr<engine::MediaInput> probe = engine::MediaInput::open(path);
    if (!probe || probe->bestAudioStream() < 0) return kFailed;
    if (source_start_us < 0 || timeline_start_us < 0 || timeline_end_us <= timeline_start_us || !(volume >= 0)) return kFailed;
    return withSettings(handle, [&](ConvertSettings& s) {
        engine::MusicTrack track;
        track.path = path;
        track.source_start_us = source_start_us;
        track.source_end_us = source_end_us;
        track.timeline_start_us = timeline_start_us;
        track.timeline_end_us = timeline_end_us;
        track.fade_in_us = std::max<int64_t>(0, fade_in_us);
        track.fade_out_us = std::max<int64_t>(0, fade_out_us);
        track.volume = volume;
        s.music.push_back(track);
        return true;
    });
}

int32_t apiMediaConvertSetMaineAudioVolume(void* handle, double volume) {
    return withSettings(handle, [&](ConvertSettings& s) { return volume >= 0 && std::isfinite(volume) && (s.main_volume = volume, true); });
}

int32_t apiMediaConvertDisableMainAudio(void* handle) {
    return withSettings(handle, [&](ConvertSettings& s) { return s.main_disabled = true, true; });
}

int32_t apiMediaConvertStart(void* handle) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job) return kFailed;
    return engine::toInt(job->start());
}

int32_t apiMediaConvertGetProgress(void* handle) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    return job ? job->progressPercent() : kFailed;
}

int32_t apiMediaConvertStop(void* handle) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(handle);
    if (!job) return kFailed;
    job->stop();
    return kOk;
}

int32_t apiMediaConvertClose(void* handle) {
    std::shared_ptr<ConvertJob> job = convertJobs().remove(handle);
    if (!job) return kFailed;
    job->stop();  // a run still going ends before the job is released
    return kOk;
}

}  // extern "C"
