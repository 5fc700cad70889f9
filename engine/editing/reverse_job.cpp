#include "engine/editing/reverse_job.h"

#include "engine/core/frame_reader.h"
#include "engine/core/media_input.h"
#include "engine/core/output_file.h"
#include "engine/editing/encode_writer.h"
#include "engine/editing/reverse_frame_store.h"
#include "engine/editing/sound_reader.h"
#include "engine/editing/upright_pictures.h"

#include <algorithm>
#include <vector>

namespace kestrel::editing {

using engine::ResultCode;

namespace {

// Pieces shorter than this are merged, so an all-key-frame file is not sought frame by frame.
constexpr int64_t kMinPieceUs = 1'000'000;
// Without an index (or for sound alone) the range is cut evenly.
constexpr int64_t kPlainPieceUs = 2'000'000;

// Piece boundaries inside (start, end), from the key frames the demuxer's index knows.
std::vector<int64_t> pieceBounds(const engine::MediaInput& input, int video, int64_t start_us, int64_t end_us) {
    std::vector<int64_t> bounds{start_us};
    if (video >= 0) {
        AVStream* st = input.stream(video);
        int entries = avformat_index_get_entries_count(st);
        for (int i = 0; i < entries; ++i) {
            const AVIndexEntry* e = avformat_index_get_entry(st, i);
            if (!e || !(e->flags & AVINDEX_KEYFRAME)) continue;
            int64_t t = input.toFileTimeUs(video, e->timestamp);
            if (t - bounds.back() >= kMinPieceUs && end_us - t >= kMinPieceUs / 2) bounds.push_back(t);
        }
    }
    if (bounds.size() == 1)
        for (int64_t t = start_us + kPlainPieceUs; t < end_us; t += kPlainPieceUs) bounds.push_back(t);
    bounds.push_back(end_us);
    return bounds;
}

// The rate whose ticks the output's pictures are placed on. A source whose pictures are held
// for different lengths usually sits on a finer regular grid than its average rate (a 25 fps
// recording with dropped pictures): on that grid every mirrored hold keeps its length.
AVRational pictureGrid(const AVStream* st) {
    const AVRational avg = st->avg_frame_rate, base = st->r_frame_rate;
    const bool has_avg = avg.num > 0 && avg.den > 0, has_base = base.num > 0 && base.den > 0;
    if (has_avg && has_base && av_cmp_q(base, avg) > 0 && av_cmp_q(base, av_mul_q(avg, AVRational{4, 1})) <= 0 &&
        av_cmp_q(base, AVRational{240, 1}) <= 0)
        return base;
    if (has_avg) return avg;
    if (has_base) return base;
    return AVRational{25, 1};
}

}  // namespace

ResultCode ReverseJob::run() {
    const ReverseSettings& s = settings_;
    if (s.input_path.empty() || s.output_path.empty()) return ResultCode::BadArgument;
    if (s.start_us == s.end_us && s.start_us != 0) return ResultCode::EmptyRange;
    if (s.start_us < 0 || (s.end_us != 0 && s.end_us < s.start_us) || s.audio_mode < 0 || s.audio_mode > 2)
        return ResultCode::BadArgument;
    // The temporary file is made only for an input that opens: a refused input leaves nothing.
    std::unique_ptr<engine::MediaInput> input = engine::MediaInput::open(s.input_path);
    if (!input) return ResultCode::OpenFailed;
    engine::OutputFile file;
    if (ResultCode rc = file.prepare(s.output_path); rc != ResultCode::Ok) return rc;
    ResultCode rc = render(*input, file.temporaryPath());
    if (rc != ResultCode::Ok) return rc;
    if (stopRequested()) return ResultCode::Stopped;
    rc = file.commit();
    if (rc == ResultCode::Ok) progress_.store(100.0);
    return rc;
}

ResultCode ReverseJob::render(engine::MediaInput& opened, const std::string& write_path) {
    const ReverseSettings& s = settings_;
    engine::MediaInput* input = &opened;
    int64_t start_us = s.start_us;
    int64_t end_us = (s.end_us == 0 && s.start_us == 0) ? input->durationUs() : std::min(s.end_us, input->durationUs());
    if (end_us <= start_us) return ResultCode::EmptyRange;

    bool audio_only = isAudioOnlyExtension(s.output_path);
    int video = audio_only || input->isStillPicture() ? -1 : input->bestVideoStream();
    bool want_sound = s.audio_mode != 0 && input->bestAudioStream() >= 0;
    if (video < 0 && !want_sound) return ResultCode::NoStream;

    EncodeWriter writer;
    if (ResultCode rc = writer.open(write_path, s.output_path); rc != ResultCode::Ok) return rc;
    std::unique_ptr<engine::FrameReader> reader;
    AVRational rate{25, 1};
    UprightPictures upright(video >= 0 ? input->displayRotationDeg(video) : 0);
    if (video >= 0) {
        reader = engine::FrameReader::open(*input, video);
        if (!reader) return ResultCode::DecodeFailed;
        AVStream* st = input->stream(video);
        rate = pictureGrid(st);
        int width = 0, height = 0;
        upright.turnedSize(st->codecpar->width, st->codecpar->height, &width, &height);
        AVRational aspect = upright.turnedAspect(av_guess_sample_aspect_ratio(input->format(), st, nullptr));
        // Memory stays flat with the length only if the encoder, too, holds few pictures.
        writer.holdFewPictures();
        if (ResultCode rc = writer.addVideo(false, width, height, rate, int64_t(s.video_kbps) * 1000, s.threads, aspect);
            rc != ResultCode::Ok)
            return rc;
    }
    std::unique_ptr<SoundReader> sound;
    if (want_sound) {
        const AVCodecParameters* par = input->stream(input->bestAudioStream())->codecpar;
        if (ResultCode rc = writer.addAudio(par->sample_rate, std::min(2, par->ch_layout.nb_channels),
                                            s.audio_kbps > 0 ? int64_t(s.audio_kbps) * 1000 : 128000);
            rc != ResultCode::Ok)
            return rc;
        sound = SoundReader::open(s.input_path, writer.sampleRate(), writer.channels());
        if (!sound) return ResultCode::DecodeFailed;
    }
    if (ResultCode rc = writer.begin(); rc != ResultCode::Ok) return rc;

    std::vector<int64_t> bounds = pieceBounds(*input, video, start_us, end_us);
    ReverseFrameStore store(std::max<int64_t>(1, s.cache_mb) * 1024 * 1024);
    engine::FramePtr frame = engine::makeFrame();
    std::vector<float> samples;
    std::vector<int64_t> shown_us;  // when each stored picture is shown in the source
    // The source shows a picture until the next: the first picture of the piece reversed last,
    // or the range's end. Mirrored, a picture shown [t, next) is shown from end - next on.
    int64_t next_shown_us = end_us;
    int64_t last_pts = -1;
    int64_t samples_out = 0;
    const int64_t length_us = end_us - start_us;
    for (size_t piece = bounds.size() - 1; piece > 0; --piece) {
        int64_t piece_start = bounds[piece - 1], piece_end = bounds[piece];
        if (reader) {
            store.clear();
            shown_us.clear();
            if (!reader->seekUs(piece_start)) return ResultCode::DecodeFailed;
            for (;;) {
                if (stopRequested()) return ResultCode::Stopped;
                int rc = reader->next(frame.get());
                if (rc < 0) return ResultCode::DecodeFailed;
                if (rc == 0) break;
                int64_t t = reader->frameTimeUs(frame.get());
                if (t >= piece_end) break;
                // A seek may land well before the piece (streams without an index): pictures
                // before it belong to the piece before. Only the range's first piece keeps the
                // one picture shown at its start, when the start falls between pictures.
                if (t < piece_start) {
                    if (piece_start != start_us) continue;
                    store.clear();
                    shown_us.clear();
                }
                if (!upright.put(frame.get(), t, [&](const AVFrame* picture) {
                        shown_us.push_back(t);
                        return store.append(picture);
                    }))
                    return ResultCode::WriteFailed;
            }
            for (int i = store.count() - 1; i >= 0; --i) {
                if (stopRequested()) return ResultCode::Stopped;
                if (!store.load(i, frame.get())) return ResultCode::WriteFailed;
                const int64_t shown_from_us = end_us - next_shown_us;
                next_shown_us = shown_us[size_t(i)];
                const int64_t pts = std::max(last_pts + 1, av_rescale_q(shown_from_us, AV_TIME_BASE_Q, av_inv_q(rate)));
                last_pts = pts;
                if (ResultCode rc = writer.writeVideo(frame.get(), pts); rc != ResultCode::Ok) return rc;
            }
        }
        if (sound) {
            // The output span of this piece, in samples of the output time line.
            int64_t out_from = av_rescale(end_us - piece_end, writer.sampleRate(), 1000000);
            int64_t out_to = av_rescale(end_us - piece_start, writer.sampleRate(), 1000000);
            int n = static_cast<int>(std::max<int64_t>(0, out_to - std::max(out_from, samples_out)));
            int channels = writer.channels();
            samples.resize(static_cast<size_t>(n) * channels);
            if (s.audio_mode == 2) {
                int64_t from_us = end_us - av_rescale(out_to, 1000000, writer.sampleRate());
                sound->read(std::max(start_us, from_us), n, samples.data());
                for (int a = 0, b = n - 1; a < b; ++a, --b)
                    std::swap_ranges(samples.begin() + static_cast<long>(a) * channels,
                                     samples.begin() + static_cast<long>(a + 1) * channels,
                                     samples.begin() + static_cast<long>(b) * channels);
            } else {
                sound->read(start_us + av_rescale(samples_out, 1000000, writer.sampleRate()), n, samples.data());
            }
            if (ResultCode rc = writer.writeAudio(samples.data(), n); rc != ResultCode::Ok) return rc;
            samples_out += n;
        }
        double done = double(end_us - piece_start) / double(length_us);
        setProgress(done);
        progress_.store(std::min(99.9, done * 100.0), std::memory_order_relaxed);
    }
    if (stopRequested()) return ResultCode::Stopped;
    return writer.finish();
}

}  // namespace kestrel::editing
