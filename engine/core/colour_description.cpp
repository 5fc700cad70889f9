#include "engine/core/colour_description.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kestrel::engine {

namespace {

bool isRgb(int format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    return d && (d->flags & AV_PIX_FMT_FLAG_RGB);
}

// The full-range ("J") YUV formats, whose range is their name's.
bool isFullRangeFormat(int format) {
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P: return true;
    default: return false;
    }
}

}  // namespace

ColourDescription outputColours(const VideoSourceParams& source, int output_pixel_format) {
    ColourDescription out;
    if (output_pixel_format < 0 || isRgb(output_pixel_format)) return out;
    if (isFullRangeFormat(output_pixel_format)) out.range = AVCOL_RANGE_JPEG;
    if (source.pixel_format < 0 || isRgb(source.pixel_format)) {
        out.space = AVCOL_SPC_SMPTE170M;
        if (!out.range) out.range = AVCOL_RANGE_MPEG;
        return out;
    }
    if (source.color_space >= 0 && source.color_space != AVCOL_SPC_RGB) out.space = source.color_space;
    if (source.color_primaries >= 0) out.primaries = source.color_primaries;
    if (source.color_trc >= 0) out.transfer = source.color_trc;
    if (!out.range) {
        if (isFullRangeFormat(source.pixel_format)) out.range = AVCOL_RANGE_MPEG;   // converted down
        else if (source.color_range > 0) out.range = source.color_range;
    }
    return out;
}

}  // namespace kestrel::engine
