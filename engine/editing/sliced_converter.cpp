#include "engine/editing/sliced_converter.h"

extern "C" {
#include <libavutil/pixdesc.h>
}
#include <algorithm>
#include <future>
#include <thread>

namespace kestrel::editing {

namespace {
// Bands below this many rows cost more in threads than they save.
constexpr int kMinBandRows = 64;
constexpr int kMaxBands = 8;

// Rows a band starts on must fall on the chroma grid of both formats.
int rowAlignment(int format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    return d ? 1 << d->log2_chroma_h : 1;
}

// Where row `row` of plane `plane` starts.
const uint8_t* planeRow(const AVFrame* f, int plane, int row) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format));
    const bool chroma = (plane == 1 || plane == 2) && !(d->flags & AV_PIX_FMT_FLAG_RGB);
    const int r = chroma ? row >> d->log2_chroma_h : row;
    return f->data[plane] + static_cast<ptrdiff_t>(r) * f->linesize[plane];
}
}  // namespace

bool SlicedConverter::prepare(const AVFrame* src, const AVFrame* dst) {
    if (!bands_.empty() && src_w_ == src->width && src_h_ == src->height && src_format_ == src->format &&
        dst_w_ == dst->width && dst_h_ == dst->height && dst_format_ == dst->format)
        return true;
    bands_.clear();
    const auto sf = static_cast<AVPixelFormat>(src->format);
    const auto df = static_cast<AVPixelFormat>(dst->format);
    const bool same_size = src->width == dst->width && src->height == dst->height;
    const bool paletted = av_pix_fmt_desc_get(df) && (av_pix_fmt_desc_get(df)->flags & AV_PIX_FMT_FLAG_PAL);
    int count = 1;
    if (same_size && !paletted) {
        const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        count = std::clamp(std::min(threads, src->height / kMinBandRows), 1, kMaxBands);
    }
    const int align = std::max(rowAlignment(sf), rowAlignment(df));
    const int rows_per_band = (src->height / count + align - 1) / align * align;
    for (int top = 0; top < src->height; top += rows_per_band) {
        Band band;
        band.top = top;
        band.height = count == 1 ? src->height : std::min(rows_per_band, src->height - top);
        const int out_h = count == 1 ? dst->height : band.height;
        band.sws.reset(sws_getContext(src->width, band.height, sf, dst->width, out_h, df, SWS_BICUBIC, nullptr, nullptr,
                                      nullptr));
        if (!band.sws) {
            bands_.clear();
            return false;
        }
        bands_.push_back(std::move(band));
        if (count == 1) break;
    }
    src_w_ = src->width, src_h_ = src->height, src_format_ = src->format;
    dst_w_ = dst->width, dst_h_ = dst->height, dst_format_ = dst->format;
    return true;
}

bool SlicedConverter::convert(const AVFrame* src, AVFrame* dst) {
    if (!prepare(src, dst)) return false;
    if (bands_.size() == 1) {
        sws_scale(bands_[0].sws.get(), src->data, src->linesize, 0, src->height, dst->data, dst->linesize);
        return true;
    }
    auto run = [src, dst](const Band& band) {
        const uint8_t* in[4] = {};
        uint8_t* out[4] = {};
        for (int p = 0; p < 4; ++p) {
            if (src->data[p]) in[p] = planeRow(src, p, band.top);
            if (dst->data[p]) out[p] = const_cast<uint8_t*>(planeRow(dst, p, band.top));
        }
        sws_scale(band.sws.get(), in, src->linesize, 0, band.height, out, dst->linesize);
    };
    std::vector<std::future<void>> others;
    for (size_t i = 1; i < bands_.size(); ++i) others.push_back(std::async(std::launch::async, run, std::cref(bands_[i])));
    run(bands_[0]);
    for (auto& band : others) band.wait();
    return true;
}

}  // namespace kestrel::editing
