#include "engine/editing/reverse_frame_store.h"

extern "C" {
#include <libavutil/imgutils.h>
}

namespace kestrel::editing {

ReverseFrameStore::~ReverseFrameStore() {
    if (file_) std::fclose(file_);
}

void ReverseFrameStore::clear() {
    memory_.clear();
    used_ = 0;
    spilled_ = 0;
    if (file_) std::rewind(file_);
}

bool ReverseFrameStore::append(const AVFrame* frame) {
    int bytes = av_image_get_buffer_size(static_cast<AVPixelFormat>(frame->format), frame->width, frame->height, 1);
    if (bytes <= 0) return false;
    if (spilled_ == 0 && used_ + bytes <= budget_) {
        engine::FramePtr copy(av_frame_clone(frame));
        if (!copy) return false;
        memory_.push_back(std::move(copy));
        used_ += bytes;
        return true;
    }
    if (!file_) file_ = std::tmpfile();  // unlinked at once: gone when closed or on a crash
    if (!file_) return false;
    if (spilled_ == 0) {
        width_ = frame->width, height_ = frame->height, format_ = frame->format, frame_bytes_ = bytes;
    } else if (frame->width != width_ || frame->height != height_ || frame->format != format_) {
        return false;
    }
    buffer_.resize(static_cast<size_t>(bytes));
    if (av_image_copy_to_buffer(buffer_.data(), bytes, frame->data, frame->linesize,
                                static_cast<AVPixelFormat>(frame->format), frame->width, frame->height, 1) < 0)
        return false;
    if (std::fseek(file_, static_cast<long>(spilled_) * frame_bytes_, SEEK_SET) != 0) return false;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) return false;
    ++spilled_;
    return true;
}

bool ReverseFrameStore::load(int index, AVFrame* out) {
    av_frame_unref(out);
    if (index < static_cast<int>(memory_.size())) return av_frame_ref(out, memory_[index].get()) >= 0;
    int slot = index - static_cast<int>(memory_.size());
    if (slot >= spilled_) return false;
    buffer_.resize(static_cast<size_t>(frame_bytes_));
    if (std::fflush(file_) != 0 || std::fseek(file_, static_cast<long>(slot) * frame_bytes_, SEEK_SET) != 0) return false;
    if (std::fread(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) return false;
    out->format = format_, out->width = width_, out->height = height_;
    if (av_frame_get_buffer(out, 0) < 0) return false;
    uint8_t* planes[4] = {};
    int lines[4] = {};
    if (av_image_fill_arrays(planes, lines, buffer_.data(), static_cast<AVPixelFormat>(format_), width_, height_, 1) < 0)
        return false;
    av_image_copy(out->data, out->linesize, const_cast<const uint8_t**>(planes), lines, static_cast<AVPixelFormat>(format_),
                  width_, height_);
    return true;
}

}  // namespace kestrel::editing
