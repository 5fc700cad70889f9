#pragma once
// Where a written file actually ends, and where the next piece of a split starts. A convert
// under a size cap may stop past the cap, so the next piece of a split starts from what the
// written piece holds, not from the time that was asked.
#include <QString>
#include <cstdint>

namespace kestrel::session {

// Microseconds from the file's start (its container start time) to the end of the last packet
// of the main stream (video when there is one, else sound); -1 when the file cannot be read or
// holds no packet.
int64_t mediaEndUs(const QString& path);

// When the file's last picture is shown, in microseconds from the file's start; -1 when it has
// no picture.
int64_t lastPictureShownUs(const QString& path);

// When the first picture of the file shown after time_us (its file time line) is shown; -1 when
// there is none, or the file cannot be read.
int64_t firstPictureAfterUs(const QString& path, int64_t time_us);

}  // namespace kestrel::session
