#pragma once
// The transcoding engine's C interface: probing (Media...) and convert jobs (apiMediaConvert...).
// Handles are opaque; null or closed handles make every call fail instead of crashing.
// Times are microseconds, paths UTF-8. Setters and queries return >= 1 on success.
#include "engine/core/media_records.h"

#include <cstdint>

extern "C" {

// Probe.
void* MediaOpen(const char* path);
// Fills the first audio stream (may be null) and the video stream; negative on failure.
int32_t MediaGetInfo(void* media, MediaAudioInfo* audio, MediaVideoInfo* video);
int64_t MediaGetDuration(void* media);
// width x height BGRA pixels (rows without padding) of the picture shown at time_us, upright.
int32_t MediaSnapshot(void* media, int64_t time_us, int32_t width, int32_t height, uint8_t* buffer, int32_t flags);
int32_t MediaClose(void* media);

// Convert job.
void* apiMediaConvertCreate(void);
int32_t apiMediaConvertSetInputMedia(void* job, const char* path);
int64_t apiMediaConvertGetDuration(void* job);
// With buffer null, writes the stream count; then fills count records (600 bytes each) in file order.
int32_t apiMediaConvertGetAudioStreamInfo(void* job, int32_t* count, MediaAudioInfo* buffer);
int32_t apiMediaConvertGetVideoStreamInfo(void* job, int32_t* count, MediaVideoInfo* buffer);
int32_t apiMediaConvertSetOutputPath(void* job, const char* path);
int32_t apiMediaConvertSetCutTime(void* job, int64_t start_us, int64_t end_us);
int32_t apiMediaConvertSetLimitFileSize(void* job, int64_t bytes);
int32_t apiMediaConvertSetVcodec(void* job, const char* name);
int32_t apiMediaConvertSetAcodec(void* job, const char* name);
// Non-zero: every stream is decoded and encoded again, even where its packets could be kept.
int32_t apiMediaConvertSetForceEncode(void* job, int32_t on);
int32_t apiMediaConvertSetVideoBitrate(void* job, int32_t kbps);
int32_t apiMediaConvertSetAudioBitrate(void* job, int32_t kbps);
int32_t apiMediaConvertSetVideoFps(void* job, double fps);
// The output frame is width x height; the picture keeps its shape inside it, black around it.
int32_t apiMediaConvertSetVideoFrameSize(void* job, int32_t width, int32_t height);
int32_t apiMediaConvertSetAudioEncodeContext(void* job, int32_t channels, int32_t sample_rate);
int32_t apiMediaConvertSetAudioIndex(void* job, int32_t stream_index);
int32_t apiMediaConvertSetCropSize(void* job, MediaRect margins);
// 1 when the job, with its input and video codec as set, would encode its picture in a format
// that needs even widths and heights (4:2:0, 4:2:2: odd sizes are rounded down), 0 when every
// size is kept; negative without an input or for an unknown container. output_name: the output
// file's name (its extension picks the container).
int32_t apiMediaConvertGetEvenSizeRule(void* job, const char* output_name);
int32_t apiMediaConvertSetRotateAngle(void* job, int32_t degrees);
int32_t apiMediaConvertHFlipStatus(void* job, int32_t on);
int32_t apiMediaConvertVFlipStatus(void* job, int32_t on);
int32_t apiMediaConvertSetSpeed(void* job, double factor);
int32_t apiMediaConvertAdjustBCS(void* job, int32_t brightness, int32_t contrast, int32_t saturation);
int32_t apiMediaConvertAddImageEffect(void* job, int32_t effect_id);
int32_t apiMediaConvertAddImageWatermask(void* job, ImageWatermarkRecord record);
int32_t apiMediaConvertAddTextWatermask(void* job, TextWatermarkRecord record);
int32_t apiMediaConvertAddVideoWatermark(void* job, VideoWatermarkRecord record);
// One registration for the whole process; used by text watermarks added after it.
int32_t apiMediaConvertSetDrawTextCallback(MediaDrawTextCallback callback);
int32_t apiMediaConvertSetSubtitle(void* job, SubtitleRecord record);
int32_t apiMediaConvertAddDubbingMusic(void* job, const char* path, int64_t source_start_us, int64_t source_end_us,
                                       int64_t timeline_start_us, int64_t timeline_end_us, int64_t fade_in_us,
                                       int64_t fade_out_us, double volume);
int32_t apiMediaConvertSetMaineAudioVolume(void* job, double volume);
int32_t apiMediaConvertDisableMainAudio(void* job);
// Blocks until the output is complete (>= 1) or the job failed or was stopped (negative).
int32_t apiMediaConvertStart(void* job);
int32_t apiMediaConvertGetProgress(void* job);
// Returns once the running Start no longer writes; a stop before Start makes Start return at once.
int32_t apiMediaConvertStop(void* job);
int32_t apiMediaConvertClose(void* job);

}  // extern "C"
