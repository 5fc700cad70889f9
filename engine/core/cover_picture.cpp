#include "engine/core/cover_picture.h"

#include "engine/core/media_input.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace kestrel::engine {

std::vector<uint8_t> coverPictureBytes(const std::string& path) {
    const std::unique_ptr<MediaInput> input = MediaInput::open(path);
    if (!input) return {};
    for (int i = 0; i < input->streamCount(); ++i) {
        const AVStream* st = input->stream(i);
        if (!(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) continue;
        const AVPacket& picture = st->attached_pic;
        if (!picture.data || picture.size <= 0) continue;
        return std::vector<uint8_t>(picture.data, picture.data + picture.size);
    }
    return {};
}

}  // namespace kestrel::engine
