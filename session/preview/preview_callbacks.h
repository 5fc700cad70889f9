#pragma once
// The plain function the preview player calls to load overlay pictures into its own buffers
// (the text one is PreviewDrawTextCallback, draw_text_callback.h). It touches nothing but its
// arguments, so the player's threads may call it.
#include <cstdint>


namespace kestrel::session {

// With pixels null: writes the picture's size, 1. Otherwise fills exactly width*height*4 bytes
// of BGRA premultiplied pixels when bufferSize allows, 1; 0 on any failure.
int32_t PreviewLoadImageCallback(const char* path, int32_t* width, int32_t* height, int32_t bufferSize,
                                 uint8_t* pixels);

}  // namespace kestrel::session
