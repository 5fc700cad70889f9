#pragma once
// The editing engine's C interface: virtual videos made of scenes and media, a composited
// preview, export, a reverse encoder, snapshots and a light probe.
//
// Handles are opaque; null or already released handles are refused with a negative result.
// Results: 1 success, negative failure. Times are microseconds, paths UTF-8.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Fractions of a picture: for a clip, of the source picture; for a show rectangle, of the
// output frame. All four zero means the whole picture.
typedef struct SLIDE_RECT {
    float left;
    float top;
    float right;
    float bottom;
} SLIDE_RECT;

typedef int (*RDVEPlayFinishCallback)(void* context);

// Virtual video
void* rdVEVirtualVideoCreate(void);
int32_t rdVEVirtualVideoDestory(void* video);
int32_t rdVESetFrameSize(void* video, int32_t width, int32_t height);
int32_t rdVESetDisplayRatio(void* video, float ratio);
int32_t rdVESetFPS(void* video, float fps);
int32_t rdVESetVolume(void* video, float volume);
int32_t rdVEClearScenes(void* video);
// Adds a 3D filter stage (a converter config.json) over the composed picture from start to end;
// returns a scene handle that rdVEDeleteScene removes, null for a missing or wrong file.
void* rdVEAddFilter(void* video, const char* config_path, int64_t start_us, int64_t end_us);

// Scenes and media
void* rdVECreateScene(int64_t start_us, int64_t end_us);
int32_t rdVEAddScene(void* video, void* scene);
int32_t rdVEDeleteScene(void* scene);
int32_t rdVEUpdateSceneTimeline(void* scene, int64_t start_us, int64_t end_us);
void* rdVESceneCreateMedia(const char* path);
void* rdVESceneAddMedia(void* scene, const char* path);
int32_t rdVESceneAddMediaHandle(void* scene, void* media);
int32_t rdVESceneDeleteMedia(void* media);
int32_t rdVESceneClearMedia(void* scene);

// Probe: duration (0 for a still picture), a 528-byte audio area and a 548-byte video area
// (int32 width @132, height @136, bit rate bit/s @140, double frame rate @144).
int32_t rdVEGetMediaInfoLite(const char* path, int64_t* duration_us, void* audio_info, void* video_info);

// Media settings
int32_t rdVESetMediaCutTime(void* media, int64_t start_us, int64_t end_us);
int32_t rdVESetMediaTimeLine(void* media, int64_t start_us, int64_t end_us);
int32_t rdVESetMediaClip(void* media, SLIDE_RECT clip);
int32_t rdVESetMediaShowRect(void* media, SLIDE_RECT show);
int32_t rdVESetMediaDisplayMode(void* media, int32_t mode);
int32_t rdVESetMediaFactor(void* media, float factor);
int32_t rdVESetMediaFlip(void* media, int32_t flip);
int32_t rdVESetMediaRotateAngle(void* media, int32_t degrees);
// A colour look-up table in the .cube text form (3D, 2..128 levels); null or "" removes it.
// An unreadable or malformed file is refused (-3) and the media keeps its previous table.
int32_t rdVESetMediaLookupFilter(void* media, const char* lut_path);
// Face beauty: smoothing, brightening and tone 0..100; slimming and eye enlarging -100..100
// (they need the landmark model; an export asking for them without it answers -12).
int32_t rdVESetMediaBeautyBlurIntensity(void* media, int32_t value);
int32_t rdVESetMediaBeautyBrightIntensity(void* media, int32_t value);
int32_t rdVESetMediaBeautyToneIntensity(void* media, int32_t value);
int32_t rdVESetMediaThinFaceIntensity(void* media, int32_t value);
int32_t rdVESetMediaBigEyeIntensity(void* media, int32_t value);
// Loads the 68-point landmark model (1), or answers -12 when the file is missing or wrong.
int32_t rdVEDlibFaceInit2(const char* model_path);
int32_t rdVEDlibFaceUnInit(void);

// Audio tracks of a virtual video
void* rdVEAddAudioMedia(void* video, const char* path, int64_t source_start_us, int64_t source_end_us,
                        int64_t timeline_start_us, int64_t timeline_end_us, double factor);
int32_t rdVEDeleteAudioMedia(void* audio);
int32_t rdVEClearAudioMedias(void* video);
int32_t rdVESetAudioMediaTimeline(void* audio, int64_t start_us, int64_t end_us);
int32_t rdVESetAudioMediaVolFactor(void* audio, double factor);

// Preview. rdVEGetPreview returns a QWidget* (the caller places it; it may delete it).
int32_t rdVEPreviewInit(void* video);
void* rdVEGetPreview(void* video);
int32_t rdVEPreview(void* video);
int32_t rdVEPreviewPause(void* video);
int32_t rdVEPreviewConintue(void* video);
int32_t rdVEPreviewSeek(void* video, int64_t position_us);
int32_t rdVEPreviewStop(void* video);
int32_t rdVEPreviewRefresh(void* video);
int64_t rdVEGetCurrentPlaybackTime(void* video);
int64_t rdVEGetTotalPlaybackTime(void* video);
// The callback runs on an engine thread; a null callback unregisters.
int32_t rdVESetPreviewPlayFinishCallback(void* video, RDVEPlayFinishCallback callback, void* context);

// Export
int32_t rdVESetOutPath(void* video, const char* path);
// "mp4" (H.264 + AAC) or "GIF"; the output path's extension picks the container.
int32_t rdVESetVideoCodec(void* video, const char* name);
int32_t rdVESetVideoBitrate(void* video, int32_t kbps);
int32_t rdVESetAudioBitrate(void* video, int32_t kbps);
int32_t rdVESetAudioChannels(void* video, int32_t channels);
int32_t rdVESetAudioSamples(void* video, int32_t sample_rate);
int32_t rdVEEditMediaInit(void* video);
// Blocks until the output is written (1), stopped or failed (negative).
int32_t rdVEEditMedia(void* video);
int32_t rdVEEditProgress(void* video);
double rdVEEditProgressEx(void* video);
// Sticky; returns once the output is no longer written.
int32_t rdVEEditStop(void* video);

// Reverse encoder. Audio modes: 0 remove the sound, 1 keep it forward, 2 reverse it.
void* rdVEMediaReverseCreate(void);
int32_t rdVEMediaReverseSetInputFile(void* job, const char* path);
int32_t rdVEMediaReverseSetOutputPath(void* job, const char* path);
int32_t rdVEMediaReverseSetCutTime(void* job, int64_t start_us, int64_t end_us);
int32_t rdVEMediaReverseSetAudioMode(void* job, int32_t mode);
int32_t rdVEMediaReverseSetAudioBitrate(void* job, int32_t kbps);
int32_t rdVEMediaReverseSetVideoBitrate(void* job, int32_t kbps);
int32_t rdVEMediaReverseSetEnocdeThreads(void* job, int32_t threads);
// Megabytes of decoded pictures held in memory; a longer piece is kept in a temporary file.
int32_t rdVEMediaReverseSetMaxCacheSize(void* job, int32_t megabytes);
int32_t rdVEMediaReverseEncode(void* job);
double rdVEMediaReverseGetProgress(void* job);
int32_t rdVEMediaReverseStop(void* job);
int32_t rdVEMediaReverseClose(void* job);

// Snapshots. Kind 1 of rdVEMediaSnapshotBGRA fills BGRA pixels; rdVEMediaSnapshot writes a PNG.
void* rdVEMediaSnapshotOpen(const char* path);
int64_t rdVEMediaSnapshotGetDuration(void* snapshot);
int32_t rdVEMediaSnapshotBGRA(void* snapshot, int32_t kind, int64_t time_us, int32_t width, int32_t height,
                              uint8_t* buffer);
int32_t rdVEMediaSnapshot(void* snapshot, int32_t kind, int64_t time_us, int32_t width, int32_t height,
                          const char* png_path);
int32_t rdVEMediaSnapshotClose(void* snapshot);

#ifdef __cplusplus
}
#endif
