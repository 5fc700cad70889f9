#pragma once
// One convert run: demux -> (copy | decode -> filter graph -> encode) -> mux, written to a
// temporary file the caller renames into place.
#include "engine/core/frame_conformer.h"
#include "engine/core/filter_graph.h"
#include "engine/core/media_input.h"
#include "engine/core/media_output.h"
#include "engine/core/result_code.h"
#include "engine/core/stream_decoder.h"
#include "engine/core/stream_encoder.h"
#include "engine/mediacore/convert_settings.h"
#include "engine/mediacore/convert_smart_cut.h"

#include <functional>
#include <memory>
#include <string>

namespace kestrel::mediacore {

class ConvertPipeline {
public:
    using StopCheck = std::function<bool()>;
    using ProgressSink = std::function<void(double)>;

    ConvertPipeline(const ConvertSettings& settings, StopCheck stopped, ProgressSink progress)
        : settings_(settings), stopped_(std::move(stopped)), progress_(std::move(progress)) {}

    engine::ResultCode run(const std::string& input_path, const std::string& write_path);

private:
    // One output stream and how it is made.
    struct Lane {
        int in_index = -1;               // -1: the sound is made inside the graph (music alone)
        bool copy = false;
        std::unique_ptr<engine::StreamDecoder> decoder;
        std::unique_ptr<engine::FilterGraph> graph;
        std::unique_ptr<engine::FrameConformer> conformer;  // video: keeps the graph's input size
        std::unique_ptr<engine::StreamEncoder> encoder;
        int out_index = -1;
        int64_t start_offset = 0;        // container start in the input stream's time base
        bool input_done = false;         // nothing more is needed from the input
        bool graph_done = false;
        int64_t reached_us = 0;          // output time line reached
        int64_t last_shown_us = AV_NOPTS_VALUE;  // copied: the latest picture shown (file time line)
        int64_t shown_end_us = AV_NOPTS_VALUE;   // copied: where the latest packet's showing ends
        bool wrote = false;
    };

    engine::ResultCode prepare(const std::string& input_path, const std::string& write_path);
    engine::ResultCode setupVideo();
    engine::ResultCode setupAudio();
    engine::ResultCode renderTextWatermarks(engine::VideoSettings& video, int source_w, int source_h);
    KeptCut keptCut(int stream_index);
    engine::ResultCode mainLoop();
    bool capReached();
    bool pastTheCap(const Lane& lane, int64_t at_us) const;
    engine::ResultCode handlePacket(Lane& lane, AVPacket* packet);
    engine::ResultCode copyPacket(Lane& lane, AVPacket* packet);
    engine::ResultCode smartCutPacket(AVPacket* packet);
    SmartCutVideo::Writer smartCutWriter();
    engine::ResultCode decodeAndFilter(Lane& lane, const AVPacket* packet);
    engine::ResultCode drainGraph(Lane& lane, int64_t until_us);
    engine::ResultCode encodeFrame(Lane& lane, AVFrame* frame);
    engine::ResultCode finishLane(Lane& lane);
    int writeVideo(AVPacket* packet, AVRational time_base);
    engine::ResultCode writeHeldVideo();
    int64_t usualPictureLength(AVRational time_base) const;
    bool cutHasEnd() const { return cut_end_us_ > 0; }

    const ConvertSettings& settings_;
    StopCheck stopped_;
    ProgressSink progress_;
    std::unique_ptr<engine::MediaInput> input_;
    std::unique_ptr<engine::MediaOutput> output_;
    Lane video_;
    Lane audio_;
    std::unique_ptr<SmartCutVideo> smart_cut_;  // the picture kept, re-encoded only at the cut ends
    int64_t cut_start_us_ = 0;
    int64_t cut_end_us_ = 0;             // 0: to the end of the file
    int64_t range_us_ = 0;               // length of the part converted, for progress
    bool capped_ = false;                // the size cap is reached: only what the piece must still hold comes
    engine::PacketPtr packet_ = engine::makePacket();
    engine::FramePtr frame_ = engine::makeFrame();
    engine::FramePtr filtered_ = engine::makeFrame();
    engine::PacketPtr encoded_ = engine::makePacket();
    engine::PacketPtr held_video_;       // the last video packet, written when the next comes or at the end
    AVRational held_time_base_{1, 1};
    int64_t latest_shown_us_ = INT64_MIN;  // the latest picture written before the held one
};

// Whether a run from input with the asked video codec ("" or "copy": the source's) into a file of
// output_name's container encodes its picture in a format that needs even sizes: 1 yes, 0 no
// (or no picture is written), -1 when there is no such container or no encoder for it.
int evenSizeRule(const engine::MediaInput& input, const std::string& video_codec, const std::string& output_name);

}  // namespace kestrel::mediacore
