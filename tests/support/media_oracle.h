#pragma once
// The media oracle: what the ffmpeg command line, never our own engine, says of an output.
// Every output test judges the file's content with it:
//   decodesCleanly(out)                                  no decoder complaint on any stream
//   framesMatch(out, framesOf(src, 25, 50))              every frame's PSNR and SSIM against the
//   framesMatch(out, makeReference(dir, "ref", {...}))   source frames or an ffmpeg-made reference
//   showsSourceFrames(mapFrames(out, src), 25, 50)       no frame lost, doubled or foreign
//   soundThroughout(soundLevels(out), 0.0, 1.0)          sound and silence per 100 ms window
// Each check is also a plain result (DecodeCheck, FrameComparison, FrameMapping, SoundLevels)
// whose describe() names the failing frame or window and its figure.
#include "tests/support/oracle/decode_check.h"
#include "tests/support/oracle/decoded_frames.h"
#include "tests/support/oracle/frame_compare.h"
#include "tests/support/oracle/frame_mapping.h"
#include "tests/support/oracle/sound_levels.h"
