#pragma once
// A keep-original cut of an H.264 or HEVC stream that copies the source's own packets between
// its two ends and codes the pictures at the ends again (see kept_cut_plan.h): the stretch
// before the first copied key frame, and the stretch after the last copied packet up to the
// cut end. The coded-again stretches carry their own parameter sets and the first copied key
// frame after one gets the source's back (an HEVC clean random access picture there is marked
// a broken link, so it starts a coded sequence of its own), so the stream decodes straight through, holds exactly the pictures
// of the range, and every range starts and ends within a frame of what was asked.
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/core/ff_handles.h"
#include "engine/core/media_input.h"
#include "engine/core/result_code.h"
#include "engine/mediacore/kept_cut_plan.h"
#include "engine/mediacore/nal_stream.h"
#include "engine/mediacore/recoded_stretch.h"
#include "engine/mediacore/stretch_ahead.h"

namespace kestrel::mediacore {

class SmartCutVideo {
public:
    using Writer = RecodedStretch::Writer;

    // The cut for a plan that splices (planKeptCut gave KeptCut::Splice).
    SmartCutVideo(engine::MediaInput& input, int stream_index, NalStream nal, const KeptCutPlan& plan,
                  int64_t cut_start_us, int64_t cut_end_us);
    ~SmartCutVideo();

    // One packet of the stream, in file order from the key frame at or before the cut start.
    engine::ResultCode handle(AVPacket* packet, const Writer& write);
    // Drains what is still being coded again.
    engine::ResultCode finish(const Writer& write);
    // Nothing more of the stream is needed.
    bool done() const { return done_; }
    bool wrote() const;
    // The output time line reached, for the run's pacing.
    int64_t reachedUs() const;

private:
    // Lead: the first copied key frame came and is held; the pictures that follow it in decoding
    // order but are shown before it (HEVC's leading pictures) still go into the head.
    enum class Phase { Head, Lead, Copy, Tail };

    engine::ResultCode startStretch(std::unique_ptr<RecodedStretch>& stretch, int64_t from_us, int64_t to_us,
                                    int64_t dts_shift);
    engine::ResultCode endStretch(std::unique_ptr<RecodedStretch>& stretch, const Writer& write);
    engine::ResultCode copy(AVPacket* packet, bool withParameterSets, const Writer& write);
    engine::ResultCode endHead(const Writer& write);
    bool isKeyFrameAt(const AVPacket* packet, int64_t shown_us) const;
    void startTailAhead();
    // Whether the end stretch is being coded on its own thread (it found where to start).
    bool tailCodedAhead();
    engine::ResultCode writeTailAhead(const Writer& write);

    engine::MediaInput& input_;
    int stream_index_;
    const AVStream* stream_;
    NalStream nal_;
    KeptCutPlan plan_;
    int64_t cut_start_us_ = 0;
    int64_t cut_end_us_ = 0;   // 0: to the end
    int64_t offset_ = 0;       // the cut start in the stream's time base
    Phase phase_ = Phase::Copy;
    std::unique_ptr<RecodedStretch> head_, tail_;
    std::unique_ptr<StretchAhead> tail_ahead_;
    bool tail_ahead_written_ = false;
    engine::PacketPtr first_key_;  // the first copied key frame while the head is still coded
    int64_t copied_reached_us_ = 0;
    bool copied_ = false;
    bool head_wrote_ = false, tail_wrote_ = false;
    bool done_ = false;
};

}  // namespace kestrel::mediacore
