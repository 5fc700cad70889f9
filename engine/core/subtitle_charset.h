#pragma once
#include <string>

namespace kestrel::engine {

// The character encoding to tell the subtitle decoder, or "" when FFmpeg reads the file as it is
// (UTF-8, or UTF-16/UTF-8 with a byte-order mark). Anything else is taken as Windows-1252, the
// usual encoding of western subtitle files, so every byte still shows as some character.
std::string subtitleCharacterEncoding(const std::string& path);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(const std::string& bytes);

}  // namespace kestrel::engine
