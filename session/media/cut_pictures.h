#pragma once
// The picture of a clip: the frame of a source at a time, decoded by the transcoding engine
// (the easy cutter's clip list shows one per clip).
#include <QImage>
#include <QString>
#include <cstdint>

namespace kestrel::session {

// The frame shown at time_us, at most max_side pixels on its long side; a null image when the
// file has no picture or cannot be read.
QImage videoFrameAt(const QString& path, int64_t time_us, int max_side = 240);

}  // namespace kestrel::session
