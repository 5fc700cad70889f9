#include "engine/mediacore/stretch_ahead.h"

#include <algorithm>
#include <utility>

#include "engine/mediacore/kept_cut_plan.h"

namespace kestrel::mediacore {

using namespace kestrel::engine;

StretchAhead::StretchAhead(Plan plan, NalStream nal) : plan_(std::move(plan)), nal_(std::move(nal)) {
    thread_ = std::thread([this] { run(); });
}

StretchAhead::~StretchAhead() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void StretchAhead::setState(State state) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_ = state;
    }
    changed_.notify_all();
}

bool StretchAhead::waitStarted() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return state_ != State::Starting; });
    return state_ == State::Started;
}

void StretchAhead::run() {
    std::unique_ptr<MediaInput> input = MediaInput::open(plan_.path);
    if (!input || plan_.stream_index >= input->streamCount() || !input->seekUs(plan_.decode_from_us)) {
        setState(State::Failed);
        return;
    }
    result_ = code(*input);
    // A run that never found its key frame has coded nothing: the caller codes the stretch.
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == State::Starting) state_ = State::Failed;
    changed_.notify_all();
}

ResultCode StretchAhead::code(MediaInput& input) {
    std::unique_ptr<RecodedStretch> stretch;
    const RecodedStretch::Writer hold = [this](AVPacket* packet, AVRational time_base) {
        PacketPtr kept = makePacket();
        av_packet_move_ref(kept.get(), packet);
        held_.push_back({std::move(kept), time_base});
        return 0;
    };
    PacketPtr packet = makePacket();
    for (;;) {
        if (stop_) return ResultCode::Stopped;
        const int rc = input.readPacket(packet.get());
        if (rc < 0) break;  // the end of the file, or a read error the in-line path would meet too
        if (packet->stream_index != plan_.stream_index) {
            av_packet_unref(packet.get());
            continue;
        }
        const int64_t decoded_at =
            input.toFileTimeUs(plan_.stream_index, packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts);
        if (!stretch) {
            if (!isKeyFrameShownAt(input, plan_.stream_index, packet.get(), plan_.decode_from_us)) {
                // Every packet before that key frame in decoding order is decoded no later than it.
                if (decoded_at != AV_NOPTS_VALUE && decoded_at > plan_.decode_from_us) return ResultCode::Ok;
                av_packet_unref(packet.get());
                continue;
            }
            stretch = RecodedStretch::open(input, plan_.stream_index, nal_, plan_.span);
            if (!stretch) return ResultCode::Ok;
            setState(State::Started);
        }
        if (plan_.span.to_us > 0 && decoded_at != AV_NOPTS_VALUE && decoded_at >= plan_.span.to_us) break;
        const ResultCode coded = stretch->decode(packet.get(), hold);
        av_packet_unref(packet.get());
        if (coded != ResultCode::Ok) return coded;
    }
    if (!stretch) return ResultCode::Ok;
    const ResultCode finished = stretch->finish(hold);
    reached_us_ = stretch->reachedUs();
    return finished;
}

ResultCode StretchAhead::writeAll(const RecodedStretch::Writer& write) {
    if (thread_.joinable()) thread_.join();
    if (result_ != ResultCode::Ok) return result_;
    for (Held& held : held_) {
        if (write(held.packet.get(), held.time_base) < 0) return ResultCode::WriteFailed;
        wrote_ = true;
    }
    held_.clear();
    return ResultCode::Ok;
}

}  // namespace kestrel::mediacore
