#pragma once
// Writes a BGRA picture as a real JPEG file (baseline, full-range 4:2:0, high quality), atomically:
// the file appears complete or not at all.
#include <QString>
#include <cstdint>

namespace kestrel::session {

bool writeJpegFile(const QString& path, const uint8_t* bgra, int width, int height);

}  // namespace kestrel::session
