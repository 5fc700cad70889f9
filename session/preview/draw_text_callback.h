#pragma once
// The routine the engines call to draw one text watermark into a frame. It touches only the
// buffer and the record it is given, so the engines may call it from several threads at once.
#include <cstdint>

#include "engine/core/media_records.h"
#include "engine/player/player_records.h"

namespace kestrel::session {

// buffer: width x height pixels, BGRA with premultiplied alpha, rows of width*4 bytes, top row
// first. The text is drawn over what the buffer holds, its baseline starting at the record's
// (x, y) counted from the bottom-left corner, in the record's colour at opacity
// 1 - transparency/100.
void DrawTextCallback(int32_t width, int32_t height, uint8_t* buffer, TextWatermarkRecord record);

// The preview player's form of the same routine.
void PreviewDrawTextCallback(int32_t width, int32_t height, uint8_t* pixels, kestrel::player::DrawTextParam param);

}  // namespace kestrel::session
