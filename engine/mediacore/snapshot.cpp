#include "engine/mediacore/snapshot.h"

#include "engine/core/filter_graph.h"
#include "engine/core/frame_reader.h"

#include <algorithm>
#include <cstring>

namespace kestrel::mediacore {

using namespace kestrel::engine;

ResultCode snapshotBGRA(MediaInput& input, int64_t time_us, int width, int height, uint8_t* buffer) {
    if (!buffer || width <= 0 || height <= 0) return ResultCode::BadArgument;
    int stream = input.bestVideoStream();
    if (stream < 0) return ResultCode::NoStream;
    std::unique_ptr<FrameReader> reader = FrameReader::open(input, stream);
    if (!reader) return ResultCode::OpenFailed;
    if (!reader->seekUs(std::max<int64_t>(0, time_us))) {
        // Some inputs cannot seek; read from where the demuxer is.
    }
    FramePtr frame = makeFrame();
    if (reader->next(frame.get()) != 1) return ResultCode::DecodeFailed;

    VideoSettings settings;
    settings.rotation_deg = input.displayRotationDeg(stream);
    settings.out_width = width;
    settings.out_height = height;
    settings.output_pixel_format = AV_PIX_FMT_BGRA;
    VideoSourceParams source = VideoSourceParams::fromDecoder(reader->decoder().context(), reader->stream()->time_base);
    source.width = frame->width;
    source.height = frame->height;
    source.pixel_format = frame->format;
    std::unique_ptr<FilterGraph> graph = FilterGraph::buildVideo(source, settings);
    if (!graph) return ResultCode::FilterFailed;
    if (graph->push(frame.get()) < 0 || graph->push(nullptr) < 0) return ResultCode::FilterFailed;
    FramePtr picture = makeFrame();
    if (graph->pull(picture.get()) < 0) return ResultCode::FilterFailed;
    for (int y = 0; y < height; ++y)
        std::memcpy(buffer + size_t(y) * width * 4, picture->data[0] + size_t(y) * picture->linesize[0], size_t(width) * 4);
    return ResultCode::Ok;
}

}  // namespace kestrel::mediacore
