#include "editor/output_target.h"

namespace kestrel::editor {

exportkit::MediaProperties mediaPropertiesOf(const kestrel::model::FileData& d) {
    exportkit::MediaProperties p;
    p.width = d.width;
    p.height = d.height;
    p.bitrate = d.bitrate;
    p.fps = d.fps;
    p.metadata_vcodec = d.metadata_vcodec;
    p.extension = d.extension;
    p.a_codec = d.a_codec;
    p.a_channel = d.a_channel;
    p.a_samplerate = d.a_samplerate;
    p.a_bitrate = d.a_bitrate;
    p.duration = d.duration;
    p.fileSize = d.fileSize;
    return p;
}

void assignTarget(kestrel::model::FileData& t, const exportkit::MediaProperties& p) {
    t.width = p.width;
    t.height = p.height;
    t.bitrate = p.bitrate;
    t.fps = p.fps;
    t.metadata_vcodec = p.metadata_vcodec;
    t.extension = p.extension;
    t.a_codec = p.a_codec;
    t.a_channel = p.a_channel;
    t.a_samplerate = p.a_samplerate;
    t.a_bitrate = p.a_bitrate;
}

}  // namespace kestrel::editor
