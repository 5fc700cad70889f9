#include "engine/mediacore/convert_smart_cut.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kestrel::mediacore {

using namespace kestrel::engine;

SmartCutVideo::SmartCutVideo(MediaInput& input, int stream_index, NalStream nal, const KeptCutPlan& plan,
                             int64_t cut_start_us, int64_t cut_end_us)
    : input_(input),
      stream_index_(stream_index),
      stream_(input.stream(stream_index)),
      nal_(std::move(nal)),
      plan_(plan),
      cut_start_us_(cut_start_us),
      cut_end_us_(cut_end_us),
      offset_(input.fromFileTimeUs(stream_index, cut_start_us)),
      phase_(plan.head ? Phase::Head : Phase::Copy) {
    // The end stretch is coded beside the start and the copy instead of after them.
    if (plan_.tail) startTailAhead();
}

SmartCutVideo::~SmartCutVideo() = default;

bool SmartCutVideo::wrote() const { return copied_ || head_wrote_ || tail_wrote_ || (tail_ahead_ && tail_ahead_->wrote()); }

int64_t SmartCutVideo::reachedUs() const {
    int64_t reached = copied_reached_us_;
    if (head_) reached = std::max(reached, head_->reachedUs());
    if (tail_) reached = std::max(reached, tail_->reachedUs());
    if (tail_ahead_ && tail_ahead_->wrote()) reached = std::max(reached, tail_ahead_->reachedUs());
    return reached;
}

bool SmartCutVideo::isKeyFrameAt(const AVPacket* packet, int64_t shown_us) const {
    return isKeyFrameShownAt(input_, stream_index_, packet, shown_us);
}

ResultCode SmartCutVideo::startStretch(std::unique_ptr<RecodedStretch>& stretch, int64_t from_us, int64_t to_us,
                                       int64_t dts_shift) {
    RecodedStretch::Span span;
    span.from_us = from_us;
    span.to_us = to_us;
    span.offset = offset_;
    span.dts_shift = dts_shift;
    stretch = RecodedStretch::open(input_, stream_index_, nal_, span);
    return stretch ? ResultCode::Ok : ResultCode::DecodeFailed;
}

ResultCode SmartCutVideo::endStretch(std::unique_ptr<RecodedStretch>& stretch, const Writer& write) {
    if (!stretch) return ResultCode::Ok;
    const ResultCode rc = stretch->finish(write);
    (&stretch == &head_ ? head_wrote_ : tail_wrote_) = stretch->wrote();
    copied_reached_us_ = std::max(copied_reached_us_, stretch->reachedUs());
    stretch.reset();
    return rc;
}

void SmartCutVideo::startTailAhead() {
    StretchAhead::Plan ahead;
    ahead.path = input_.path();
    ahead.stream_index = stream_index_;
    ahead.decode_from_us = plan_.tail_decode_from_us;
    ahead.span.from_us = plan_.tail_first_us;
    ahead.span.to_us = cut_end_us_;
    ahead.span.offset = offset_;
    tail_ahead_ = std::make_unique<StretchAhead>(std::move(ahead), nal_);
}

bool SmartCutVideo::tailCodedAhead() {
    if (tail_ahead_ && !tail_ahead_->waitStarted()) tail_ahead_.reset();
    return tail_ahead_ != nullptr;
}

ResultCode SmartCutVideo::writeTailAhead(const Writer& write) {
    if (!tail_ahead_ || tail_ahead_written_) return ResultCode::Ok;
    tail_ahead_written_ = true;
    return tail_ahead_->writeAll(write);
}

ResultCode SmartCutVideo::handle(AVPacket* packet, const Writer& write) {
    if (done_) return ResultCode::Ok;
    const int64_t decoded_at =
        input_.toFileTimeUs(stream_index_, packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts);
    if (phase_ == Phase::Head) {
        if (!head_) {
            // The head's decoding times move back by the first copied key frame's delay, so
            // they come before those of the copied packets decoded ahead of their showing.
            const ResultCode rc = startStretch(head_, cut_start_us_, plan_.copy_from_us, plan_.head_dts_delay);
            if (rc != ResultCode::Ok) return rc;
        }
        if (!isKeyFrameAt(packet, plan_.copy_from_us)) return head_->decode(packet, write);
        // Held until the head is written: pictures after it in decoding order may still belong
        // to the head, and they refer to it.
        first_key_ = makePacket();
        if (av_packet_ref(first_key_.get(), packet) < 0) return ResultCode::WriteFailed;
        phase_ = Phase::Lead;
        if (plan_.tail && !tail_ && plan_.tail_decode_from_us == plan_.copy_from_us && !tailCodedAhead()) {
            // The tail's first pictures refer to the group this key frame starts.
            const ResultCode rc = startStretch(tail_, plan_.tail_first_us, cut_end_us_, 0);
            if (rc != ResultCode::Ok) return rc;
            const ResultCode fed = tail_->decode(packet, write);
            if (fed != ResultCode::Ok) return fed;
        }
        return head_->decode(packet, write);
    }
    if (phase_ == Phase::Lead) {
        const int64_t shown_at = packet->pts != AV_NOPTS_VALUE ? input_.toFileTimeUs(stream_index_, packet->pts) : AV_NOPTS_VALUE;
        if (shown_at != AV_NOPTS_VALUE && shown_at < plan_.copy_from_us) return head_->decode(packet, write);
        const ResultCode rc = endHead(write);
        if (rc != ResultCode::Ok) return rc;
    }
    if (phase_ == Phase::Copy) {
        if (!plan_.tail && decoded_at != AV_NOPTS_VALUE && cut_end_us_ > 0 && decoded_at >= cut_end_us_) {
            done_ = true;  // nothing decoded at or after the end is shown before it
            return ResultCode::Ok;
        }
        if (plan_.tail && !tail_ && isKeyFrameAt(packet, plan_.tail_decode_from_us) && !tailCodedAhead()) {
            const ResultCode rc = startStretch(tail_, plan_.tail_first_us, cut_end_us_, 0);
            if (rc != ResultCode::Ok) return rc;
        }
        if (isKeyFrameAt(packet, plan_.copy_until_us)) {
            if (!plan_.tail) {
                done_ = true;
                return ResultCode::Ok;
            }
            phase_ = Phase::Tail;
            if (tailCodedAhead()) {
                done_ = true;
                return writeTailAhead(write);
            }
        } else {
            // Pictures that refer to the stretch before the first copied key frame (shown before
            // the cut start), and any past the end, are not copied.
            const int64_t shown_at = input_.toFileTimeUs(stream_index_, packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts);
            const bool inside = shown_at >= cut_start_us_ - 1000 && (cut_end_us_ <= 0 || shown_at < cut_end_us_);
            if (inside) {
                const ResultCode rc = copy(packet, false, write);
                if (rc != ResultCode::Ok) return rc;
            }
            // The tail's decoder also reads the group its first pictures refer to.
            return tail_ ? tail_->decode(packet, write) : ResultCode::Ok;
        }
    }
    // The tail: nothing decoded at or after the end is shown before it.
    if (decoded_at != AV_NOPTS_VALUE && cut_end_us_ > 0 && decoded_at >= cut_end_us_) {
        done_ = true;
        return endStretch(tail_, write);
    }
    return tail_ ? tail_->decode(packet, write) : ResultCode::Ok;
}

ResultCode SmartCutVideo::endHead(const Writer& write) {
    const ResultCode rc = endStretch(head_, write);
    if (rc != ResultCode::Ok) return rc;
    phase_ = Phase::Copy;
    if (!first_key_) return ResultCode::Ok;
    // The stretch before carried its own parameter sets: the source's come back here.
    PacketPtr key = std::move(first_key_);
    return copy(key.get(), true, write);
}

ResultCode SmartCutVideo::copy(AVPacket* packet, bool withParameterSets, const Writer& write) {
    PacketPtr out = makePacket();
    if (withParameterSets) {
        const std::vector<uint8_t>& sets = nal_.parameterSets();
        if (av_new_packet(out.get(), int(sets.size()) + packet->size) < 0) return ResultCode::WriteFailed;
        std::memcpy(out->data, sets.data(), sets.size());
        std::memcpy(out->data + sets.size(), packet->data, packet->size);
        av_packet_copy_props(out.get(), packet);
        // It must start a coded sequence of its own to take those sets back.
        nal_.markBrokenLink(out->data + sets.size(), packet->size);
    } else if (av_packet_ref(out.get(), packet) < 0) {
        return ResultCode::WriteFailed;
    }
    if (out->pts != AV_NOPTS_VALUE) out->pts -= offset_;
    if (out->dts != AV_NOPTS_VALUE) out->dts -= offset_;
    if (out->pts != AV_NOPTS_VALUE)
        copied_reached_us_ = std::max(copied_reached_us_, av_rescale_q(out->pts, stream_->time_base, AV_TIME_BASE_Q));
    if (write(out.get(), stream_->time_base) < 0) return ResultCode::WriteFailed;
    copied_ = true;
    return ResultCode::Ok;
}

ResultCode SmartCutVideo::finish(const Writer& write) {
    done_ = true;
    ResultCode rc = endHead(write);
    if (rc == ResultCode::Ok) rc = endStretch(tail_, write);
    if (rc == ResultCode::Ok && tailCodedAhead()) rc = writeTailAhead(write);
    return rc;
}

}  // namespace kestrel::mediacore
