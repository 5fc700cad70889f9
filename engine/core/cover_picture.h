#pragma once
// The picture a media file carries as its cover (an attached picture: the artwork of an MP3's
// ID3 tag, an M4A's "covr" atom, a Matroska attachment shown as a stream).
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::engine {

// The cover's encoded bytes (JPEG or PNG as stored), the first when there are several; empty
// when the file has none or cannot be read.
std::vector<uint8_t> coverPictureBytes(const std::string& path);

}  // namespace kestrel::engine
