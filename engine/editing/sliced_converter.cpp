#include "engine/editing/sliced_converter.h"

extern "C" {
#include <libavutil/opt.h>
}
#include <algorithm>
#include <thread>

namespace kestrel::editing {

namespace {
constexpr int kMaxThreads = 8;

void keepCallersMemory(void*, uint8_t*) {}
}  // namespace

bool SlicedConverter::prepare(const AVFrame* src, const AVFrame* dst) {
    if (sws_ && src_w_ == src->width && src_h_ == src->height && src_format_ == src->format && dst_w_ == dst->width &&
        dst_h_ == dst->height && dst_format_ == dst->format)
        return true;
    sws_.reset(sws_alloc_context());
    if (!sws_) return false;
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxThreads);
    SwsContext* c = sws_.get();
    if (av_opt_set_int(c, "srcw", src->width, 0) < 0 || av_opt_set_int(c, "srch", src->height, 0) < 0 ||
        av_opt_set_int(c, "src_format", src->format, 0) < 0 || av_opt_set_int(c, "dstw", dst->width, 0) < 0 ||
        av_opt_set_int(c, "dsth", dst->height, 0) < 0 || av_opt_set_int(c, "dst_format", dst->format, 0) < 0 ||
        av_opt_set_int(c, "sws_flags", SWS_BICUBIC, 0) < 0 || av_opt_set_int(c, "threads", threads, 0) < 0 ||
        sws_init_context(c, nullptr, nullptr) < 0) {
        sws_.reset();
        return false;
    }
    src_w_ = src->width, src_h_ = src->height, src_format_ = src->format;
    dst_w_ = dst->width, dst_h_ = dst->height, dst_format_ = dst->format;
    return true;
}

bool SlicedConverter::convert(const AVFrame* src, AVFrame* dst) {
    if (!prepare(src, dst)) return false;
    // The scaler holds a reference to its source; a picture in the caller's own memory (the
    // compositor's canvas) is lent under a buffer that never frees it, instead of being copied.
    av_frame_unref(source_.get());
    if (src->buf[0]) {
        if (av_frame_ref(source_.get(), src) < 0) return false;
    } else {
        source_->format = src->format;
        source_->width = src->width;
        source_->height = src->height;
        for (int p = 0; p < AV_NUM_DATA_POINTERS; ++p) {
            source_->data[p] = src->data[p];
            source_->linesize[p] = src->linesize[p];
        }
        const size_t bytes = static_cast<size_t>(src->linesize[0]) * src->height;
        source_->buf[0] = av_buffer_create(src->data[0], bytes, keepCallersMemory, nullptr, AV_BUFFER_FLAG_READONLY);
        if (!source_->buf[0]) return false;
    }
    const int rc = sws_scale_frame(sws_.get(), dst, source_.get());
    av_frame_unref(source_.get());
    return rc >= 0;
}

}  // namespace kestrel::editing
