#pragma once
// The transcoding engine's join calls. A job collects clips and output settings, then
// apiMediaJoinStart writes the joined file, blocking; apiMediaJoinGetProgress and
// apiMediaJoinStop may be called from another thread meanwhile. Every call accepts a null or
// closed handle and then returns a failure value.
#include <stdint.h>

extern "C" {

// A new job; null only when out of memory.
void* apiMediaJoinCreate(void);
// Adds a clip after the others; startUs = endUs = 0 takes the whole file, an end of 0 runs to
// the end. Returns the clip's id (>= 1), 0 on failure.
int64_t apiMediaJoinAddMediaClip(void* job, const char* path, int64_t startUs, int64_t endUs);
int32_t apiMediaJoinSetOutputPath(void* job, const char* path);
// An encoder or codec name ("libx264", "h264", "aac", ...), or "copy" to copy the packets.
int32_t apiMediaJoinSetVideoCodec(void* job, const char* name);
int32_t apiMediaJoinSetAudioCodec(void* job, const char* name);
// Kilobits per second; 0 leaves it to the encoder.
int32_t apiMediaJoinSetVideoBitrate(void* job, int32_t kbps);
int32_t apiMediaJoinSetAudioBitrate(void* job, int32_t kbps);
int32_t apiMediaJoinSetVideoFps(void* job, double fps);
int32_t apiMediaJoinSetVideoFrameSize(void* job, int32_t width, int32_t height);
// 0 leaves a value to the engine (the first clip's).
int32_t apiMediaJoinSetAudioEncodeContext(void* job, int32_t channels, int32_t sampleRate);
// A factor on the clip's sound: 0 silent, 1 unchanged, 2 double; fractions are kept.
int32_t apiMediaJoinSetAudioVolumn(void* job, int64_t clipId, double volume);
// The transition from this clip into the next: 0 none, 1 left, 2 top, 3 fade-out.
int32_t apiMediaJoinSetTransition(void* job, int64_t clipId, int32_t type, int64_t durationUs);
// 1: every clip is coded again even where its packets could be copied.
int32_t apiMediaJoinSetForceEncode(void* job, int32_t on);
// Blocks until the file is written (>= 1), failed or stopped (negative).
int32_t apiMediaJoinStart(void* job);
// Percent 0..100; -1 for a null or closed handle.
double apiMediaJoinGetProgress(void* job);
int32_t apiMediaJoinStop(void* job);
int32_t apiMediaJoinClose(void* job);

}
