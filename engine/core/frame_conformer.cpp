#include "engine/core/frame_conformer.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace kestrel::engine {

FrameConformer::FrameConformer(int width, int height, int pixel_format)
    : width_(width), height_(height), pixel_format_(pixel_format), converted_(makeFrame()) {}

AVFrame* FrameConformer::conform(AVFrame* frame) {
    if (frame->width == width_ && frame->height == height_ && frame->format == pixel_format_) return frame;
    if (!sws_ || src_w_ != frame->width || src_h_ != frame->height || src_format_ != frame->format) {
        sws_.reset(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), width_,
                                  height_, static_cast<AVPixelFormat>(pixel_format_), SWS_BICUBIC, nullptr, nullptr,
                                  nullptr));
        if (!sws_) return nullptr;
        src_w_ = frame->width, src_h_ = frame->height, src_format_ = frame->format;
    }
    av_frame_unref(converted_.get());
    converted_->width = width_;
    converted_->height = height_;
    converted_->format = pixel_format_;
    if (av_frame_get_buffer(converted_.get(), 0) < 0) return nullptr;
    if (av_frame_copy_props(converted_.get(), frame) < 0) return nullptr;
    sws_scale(sws_.get(), frame->data, frame->linesize, 0, frame->height, converted_->data, converted_->linesize);
    return converted_.get();
}

}  // namespace kestrel::engine
