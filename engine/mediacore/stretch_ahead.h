#pragma once
// The end stretch of a kept cut, coded again on a thread of its own while the cut's start is
// still being coded and the middle copied: a second reading of the same file from the key frame
// the stretch decodes from. Its packets are held until the cut reaches them; they are then
// written exactly as an in-line stretch would have written them.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/ff_handles.h"
#include "engine/core/result_code.h"
#include "engine/mediacore/nal_stream.h"
#include "engine/mediacore/recoded_stretch.h"

namespace kestrel::mediacore {

class StretchAhead {
public:
    struct Plan {
        std::string path;
        int stream_index = -1;
        int64_t decode_from_us = 0;  // the key frame decoding starts at (file time line)
        RecodedStretch::Span span;   // nothing decoded at or after its end is shown in it
    };

    // Starts at once.
    StretchAhead(Plan plan, NalStream nal);
    // Stops the thread if it still runs; held packets are dropped.
    ~StretchAhead();

    // Whether the thread found the key frame to decode from. False: nothing was or will be
    // coded here and the caller codes the stretch itself.
    bool waitStarted();
    // Waits for the stretch to be coded, then writes its packets in order.
    engine::ResultCode writeAll(const RecodedStretch::Writer& write);
    bool wrote() const { return wrote_; }
    int64_t reachedUs() const { return reached_us_; }

private:
    enum class State { Starting, Started, Failed };
    struct Held {
        engine::PacketPtr packet;
        AVRational time_base;
    };

    void run();
    engine::ResultCode code(engine::MediaInput& input);
    void setState(State state);

    Plan plan_;
    NalStream nal_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::Starting;
    // Written by the thread only until it ends; read after it was joined.
    std::vector<Held> held_;
    engine::ResultCode result_ = engine::ResultCode::Ok;
    int64_t reached_us_ = 0;
    bool wrote_ = false;
    std::thread thread_;
};

}  // namespace kestrel::mediacore
