#include "engine/core/join_kept_pieces.h"

extern "C" {
#include <libavformat/avformat.h>
}
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "engine/core/join_job.h"
#include "engine/core/join_pipelines.h"
#include "engine/core/output_file.h"

namespace kestrel::engine {

namespace fs = std::filesystem;

namespace {

// Cutting takes this share of the progress; the copying join the rest.
constexpr double kCutShare = 0.9;
constexpr size_t kPiecesAtOnce = 3;

bool splicedCodec(AVCodecID codec) { return codec == AV_CODEC_ID_H264 || codec == AV_CODEC_ID_HEVC; }

// Where piece i is named while it exists: beside the output, in MP4 where it takes the streams
// (its packets carry their decoding times, which the copying join keeps in order), else in the
// output's container.
std::string pieceTarget(const std::string& output_path, const JoinClipSource& first, size_t i) {
    const fs::path output(output_path);
    const AVOutputFormat* mp4 = av_guess_format("mp4", nullptr, nullptr);
    const auto takes = [&](AVCodecID codec) { return mp4 && avformat_query_codec(mp4, codec, FF_COMPLIANCE_NORMAL) == 1; };
    const bool in_mp4 = takes(first.video.codec) && (first.audio_stream < 0 || takes(first.audio.codec));
    const std::string extension = in_mp4 ? ".mp4" : output.extension().string();
    return (output.parent_path() / (output.stem().string() + "-piece" + std::to_string(i + 1) + extension)).string();
}

// The pieces keep the clips' own codec parameters (a piece coded again whole would not): their
// packets can follow one another. Frame rates are not compared: a piece's average rate is
// counted from its own length.
bool keptTheirParameters(const JoinPlan& pieces, const JoinPlan& clips) {
    for (size_t i = 0; i < clips.clips.size(); ++i) {
        const JoinClipSource& p = pieces.clips[i];
        const JoinClipSource& c = clips.clips[i];
        if (p.video_stream < 0 || (p.audio_stream >= 0) != (c.audio_stream >= 0)) return false;
        if (p.video.codec != c.video.codec || p.video.width != c.video.width || p.video.height != c.video.height ||
            p.video.pixel_format != c.video.pixel_format || p.video.extradata != c.video.extradata)
            return false;
        if (p.audio_stream >= 0 && (p.audio.codec != c.audio.codec || p.audio.sample_rate != c.audio.sample_rate ||
                                    p.audio.channels != c.audio.channels || p.audio.extradata != c.audio.extradata))
            return false;
    }
    return true;
}

}  // namespace

bool joinsKeptPieces(const JoinSettings& settings, const JoinPlan& plan) {
    if (!plan.copy_but_for_starts || !plan.has_video || !settings.video_codec.empty()) return false;
    // The joined pieces' decoding times are kept only where the container stores them.
    const AVOutputFormat* container = av_guess_format(nullptr, settings.output_path.c_str(), nullptr);
    if (!container || (std::string(container->name) != "mp4" && std::string(container->name) != "mov")) return false;
    for (const JoinClipSource& clip : plan.clips)
        if (clip.video_stream < 0 || !splicedCodec(clip.video.codec)) return false;
    return true;
}

ResultCode keptPiecesJoin(const JoinSettings& settings, JoinPlan& plan, const KeptPieceCutter& cutter,
                          MediaOutput& output, JoinJob& job, std::string* error, bool* refused) {
    *refused = false;
    const size_t count = plan.clips.size();
    int64_t total_us = 0;
    for (const JoinClipSource& clip : plan.clips) total_us += clip.lengthUs();
    // Temporary files, removed when this returns whatever happens.
    std::vector<std::unique_ptr<OutputFile>> pieces;
    JoinSettings joined;
    joined.output_path = settings.output_path;
    joined.video_codec = "copy";
    joined.audio_codec = "copy";
    std::vector<KeptPiece> cuts(count);
    for (size_t i = 0; i < count; ++i) {
        const JoinClipSource& clip = plan.clips[i];
        auto piece = std::make_unique<OutputFile>();
        KeptPiece& cut = cuts[i];
        cut.container_path = pieceTarget(settings.output_path, plan.clips.front(), i);
        if (piece->prepare(cut.container_path) != ResultCode::Ok) {
            *refused = true;  // a name taken: the clips are joined the other way
            return ResultCode::Ok;
        }
        cut.source_path = clip.clip.path;
        cut.start_us = clip.start_us;
        cut.end_us = clip.end_us;
        cut.output_path = piece->temporaryPath();
        JoinClip whole;
        whole.id = clip.clip.id;
        whole.path = cut.output_path;
        joined.clips.push_back(whole);
        pieces.push_back(std::move(piece));
    }
    // The pieces are cut side by side, a few at a time: each decodes and codes only a little.
    std::vector<std::atomic<double>> cut_us(count);
    std::vector<ResultCode> results(count, ResultCode::Ok);
    std::atomic<bool> failed{false};
    const auto stopped = [&] { return failed.load() || job.stopRequested(); };
    for (size_t first = 0; first < count; first += kPiecesAtOnce) {
        std::vector<std::thread> threads;
        for (size_t i = first; i < std::min(count, first + kPiecesAtOnce); ++i) {
            threads.emplace_back([&, i] {
                const int64_t length_us = plan.clips[i].lengthUs();
                results[i] = cutter(cuts[i], stopped, [&, i, length_us](double fraction) {
                    cut_us[i].store(fraction * double(length_us));
                    double done = 0;
                    for (const std::atomic<double>& d : cut_us) done += d.load();
                    job.reportWritten(int64_t(done * kCutShare), total_us);
                });
                if (results[i] != ResultCode::Ok) failed.store(true);
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    if (job.stopRequested()) return ResultCode::Stopped;
    for (size_t i = 0; i < count; ++i)
        if (results[i] != ResultCode::Ok && results[i] != ResultCode::Stopped) {
            *error = "cannot cut " + plan.clips[i].clip.path;
            return results[i];
        }
    JoinPlan copied;
    std::string plan_error;
    // The pieces' files are named by their temporary names; the plan reads them by content.
    if (makeJoinPlan(joined, &copied, &plan_error) != ResultCode::Ok || !keptTheirParameters(copied, plan)) {
        *refused = true;
        return ResultCode::Ok;
    }
    copied.copy_packets = true;
    return copyJoin(copied, output, job, error);
}

}  // namespace kestrel::engine
