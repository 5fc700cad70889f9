#pragma once
// The two plain functions the preview player calls to draw overlay text and to load overlay
// pictures into its own buffers. They touch nothing but their arguments (player threads).
#include <cstdint>

#include "engine/player/player_records.h"

namespace editor {

// Draws one line of text over a width x height BGRA premultiplied buffer (top row first).
void PreviewDrawTextCallback(int32_t width, int32_t height, uint8_t* pixels, kestrel::player::DrawTextParam param);
// With pixels null: writes the picture's size, 1. Otherwise fills exactly width*height*4 bytes
// of BGRA premultiplied pixels when bufferSize allows, 1; 0 on any failure.
int32_t PreviewLoadImageCallback(const char* path, int32_t* width, int32_t* height, int32_t bufferSize,
                                 uint8_t* pixels);

}  // namespace editor
