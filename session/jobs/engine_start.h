#pragma once
// What the engines need once, when the program starts: FFmpeg's and the encoders' messages sent
// to the program's log (category "kestrel.ffmpeg"; silent unless KESTREL_FFMPEG_LOG is set), and
// a record of outputs in progress kept in the cache folder, with the partial files that a
// process killed mid-export left behind removed.
#include <QString>

namespace kestrel::session {

// The cache folder that holds the records of outputs in progress (made when missing).
QString outputsInProgressFolder();

// Call once at start, before any export.
void startEngines();

}  // namespace kestrel::session
