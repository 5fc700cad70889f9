#pragma once
// Decoded pictures of one piece of the reversed range, read back last first. Pictures are
// held in memory up to a byte budget; the rest go to an anonymous temporary file, so a long
// piece costs disk, not memory, and nothing is left behind.
#include "engine/core/ff_handles.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace kestrel::editing {

class ReverseFrameStore {
public:
    explicit ReverseFrameStore(int64_t memory_budget_bytes) : budget_(memory_budget_bytes) {}
    ~ReverseFrameStore();
    ReverseFrameStore(const ReverseFrameStore&) = delete;
    ReverseFrameStore& operator=(const ReverseFrameStore&) = delete;

    bool append(const AVFrame* frame);
    int count() const { return static_cast<int>(memory_.size()) + spilled_; }
    // Picture i (0 = first appended) into out; false on a read failure.
    bool load(int index, AVFrame* out);
    void clear();

private:
    int64_t budget_;
    int64_t used_ = 0;
    std::vector<engine::FramePtr> memory_;
    std::FILE* file_ = nullptr;
    int spilled_ = 0;
    int width_ = 0, height_ = 0, format_ = -1;
    int frame_bytes_ = 0;
    std::vector<uint8_t> buffer_;
};

}  // namespace kestrel::editing
