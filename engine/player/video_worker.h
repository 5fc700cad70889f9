#pragma once
// The video decode thread. It owns the video pipeline (demux, decode, filter, convert), runs
// ahead of the clock into a queue bounded in frames and bytes, and answers seek and refresh
// requests, which the caller waits for so the asked frame is on screen when the call returns.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/player/bounded_queue.h"
#include "engine/player/picture.h"

namespace kestrel::player {

class VideoPipeline;

class VideoWorker {
public:
    static constexpr size_t kMaxQueuedFrames = 8;
    static constexpr size_t kMaxQueuedBytes = 64u << 20;

    explicit VideoWorker(std::unique_ptr<VideoPipeline> pipeline);
    ~VideoWorker();
    VideoWorker(const VideoWorker&) = delete;
    VideoWorker& operator=(const VideoWorker&) = delete;

    // The picture showing at target_us, rendered with the current settings; later pictures
    // then follow in the queue. Waits for the decode thread.
    std::optional<Picture> seek(int64_t target_us);

    BoundedQueue<Picture>& queue() { return queue_; }
    uint64_t generation() const;
    // Decoding reached the end of the file (or a decode error) in the current generation.
    bool reachedEnd() const;

private:
    void run();

    std::unique_ptr<VideoPipeline> pipeline_;
    BoundedQueue<Picture> queue_{kMaxQueuedFrames, kMaxQueuedBytes};

    mutable std::mutex mutex_;
    std::condition_variable wake_, done_;
    bool seek_pending_ = false;
    int64_t target_us_ = 0;
    uint64_t generation_ = 0;       // bumped by every seek
    uint64_t request_id_ = 0, answered_id_ = 0;
    std::optional<Picture> answer_;
    bool ended_ = false;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace kestrel::player
