#pragma once
// One rendered preview picture: the frame after every picture setting, as BGRA premultiplied
// (QImage::Format_ARGB32_Premultiplied is that byte order on little-endian machines).
#include <QImage>
#include <cstdint>

namespace kestrel::player {

struct Picture {
    QImage image;
    int64_t pts_us = 0;        // source time line
    int64_t duration_us = 0;   // how long it stays on screen at speed 1
    uint64_t generation = 0;   // seek generation it was decoded in

    size_t bytes() const { return size_t(image.sizeInBytes()); }
};

}  // namespace kestrel::player
