#include "engine/editing/edit_job.h"

#include "engine/core/output_file.h"
#include "engine/editing/canvas_handoff.h"
#include "engine/editing/compositor.h"
#include "engine/editing/encode_writer.h"
#include "engine/editing/filter_stage.h"
#include "engine/editing/sound_mixer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <thread>

namespace kestrel::editing {

using engine::ResultCode;

namespace {
bool isPictureExtension(const std::string& path) {
    std::string ext = extensionOf(path);
    return ext == "png" || ext == "jpg" || ext == "jpeg" || ext == "bmp" || ext == "tif" || ext == "tiff";
}
bool isGif(const OutputSettings& output) {
    std::string codec = output.codec;
    std::transform(codec.begin(), codec.end(), codec.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return codec == "gif" || extensionOf(output.path) == "gif";
}
}  // namespace

bool EditJob::needsLandmarks() const {
    return std::any_of(plan_.layers.begin(), plan_.layers.end(), [](const LayerPlan& l) { return l.beauty.needsLandmarks(); });
}

ResultCode EditJob::run() {
    if (plan_.width <= 0 || plan_.height <= 0 || output_.path.empty()) return ResultCode::BadArgument;
    if (plan_.total_us <= 0 || (plan_.layers.empty() && plan_.sounds.empty())) return ResultCode::EmptyRange;
    engine::OutputFile file;
    if (ResultCode rc = file.prepare(output_.path); rc != ResultCode::Ok) return rc;
    ResultCode rc = render(file.temporaryPath());
    if (rc != ResultCode::Ok) return rc;  // the temporary file goes with `file`
    if (stopRequested()) return ResultCode::Stopped;
    rc = file.commit();
    if (rc == ResultCode::Ok) progress_.store(100.0);
    return rc;
}

ResultCode EditJob::render(const std::string& write_path) {
    bool picture_only = isPictureExtension(output_.path);
    bool gif = !picture_only && isGif(output_);
    AVRational rate = av_d2q(plan_.fps > 0 ? plan_.fps : 30.0, 1001000);
    if (rate.num <= 0 || rate.den <= 0) return ResultCode::BadArgument;
    int64_t frames = picture_only ? 1 : std::max<int64_t>(1, av_rescale_q_rnd(plan_.total_us, AVRational{1, 1000000}, av_inv_q(rate), AV_ROUND_UP));

    EncodeWriter writer;
    if (ResultCode rc = writer.open(write_path, output_.path); rc != ResultCode::Ok) return rc;
    bool audio_only = isAudioOnlyExtension(output_.path);
    // The filter stage may change the picture size and show several pictures per frame.
    const int per_frame = picture_only ? 1 : filteredPicturesPerFrame(plan_);
    int out_width = 0, out_height = 0;
    filteredSize(plan_, plan_.width, plan_.height, &out_width, &out_height);
    if (!audio_only) {
        if (ResultCode rc = writer.addVideo(gif, out_width, out_height, av_mul_q(rate, AVRational{per_frame, 1}),
                                            int64_t(output_.video_kbps) * 1000, 0);
            rc != ResultCode::Ok)
            return rc;
    }
    std::unique_ptr<SoundMixer> mixer;
    if (!gif && !picture_only) {
        mixer = std::make_unique<SoundMixer>(plan_.sounds, std::max(8000, output_.sample_rate),
                                             std::clamp(output_.channels, 1, 2), plan_.volume);
        if (mixer->hasSound()) {
            if (ResultCode rc = writer.addAudio(output_.sample_rate, output_.channels, int64_t(output_.audio_kbps) * 1000);
                rc != ResultCode::Ok)
                return rc;
            // The mixer must deliver what the encoder was opened with.
            mixer = std::make_unique<SoundMixer>(plan_.sounds, writer.sampleRate(), writer.channels(), plan_.volume);
        }
    }
    if (ResultCode rc = writer.begin(); rc != ResultCode::Ok) return rc;

    const int64_t total_samples = writer.hasAudio() ? av_rescale(plan_.total_us, writer.sampleRate(), 1000000) : 0;
    int64_t samples_done = 0;
    std::vector<float> block;
    auto soundUpTo = [&](int64_t sample_end) -> ResultCode {
        sample_end = std::min(sample_end, total_samples);
        while (samples_done < sample_end) {
            int n = static_cast<int>(std::min<int64_t>(4096, sample_end - samples_done));
            block.resize(static_cast<size_t>(n) * writer.channels());
            mixer->mix(samples_done, n, block.data());
            if (ResultCode rc = writer.writeAudio(block.data(), n); rc != ResultCode::Ok) return rc;
            samples_done += n;
        }
        return ResultCode::Ok;
    };

    const int64_t video_frames = writer.hasVideo() ? frames : 0;
    const int64_t steps = std::max<int64_t>(1, video_frames + (total_samples > 0 ? 1 : 0));
    // This thread composites; another converts and encodes what it made, with the sound up to
    // each picture's end, so neither waits for the other while canvases are free.
    CanvasHandoff handoff(3);
    ResultCode encode_rc = ResultCode::Ok;
    std::thread encoding([&] {
        engine::FramePtr picture = engine::makeFrame();
        Canvas* canvas = nullptr;
        int64_t k = 0;
        while (handoff.takeDrawn(&canvas, &k)) {
            picture->width = canvas->width;
            picture->height = canvas->height;
            if (canvas->is_yuv) {
                picture->format = AV_PIX_FMT_YUV420P;
                canvas->yuvPlanes(picture->data, picture->linesize);
            } else {
                picture->format = AV_PIX_FMT_BGRA;
                picture->data[0] = canvas->bgra.data();
                picture->linesize[0] = canvas->width * 4;
            }
            ResultCode rc = writer.writeVideo(picture.get(), k);
            handoff.giveBack(canvas);
            // k counts output pictures; a frame-sequence filter makes several of one moment.
            const int64_t moment = k / per_frame;
            if (rc == ResultCode::Ok && writer.hasAudio()) {
                int64_t next_us = av_rescale_q(moment + 1, av_inv_q(rate), AVRational{1, 1000000});
                rc = soundUpTo(av_rescale(next_us, writer.sampleRate(), 1000000));
            }
            if (rc != ResultCode::Ok) {
                encode_rc = rc;
                handoff.cancel();
                return;
            }
            double fraction = double(moment + 1) / double(steps);
            setProgress(fraction);
            progress_.store(std::min(99.9, fraction * 100.0), std::memory_order_relaxed);
        }
    });
    struct JoinOnExit {  // also when compositing throws
        CanvasHandoff& handoff;
        std::thread& thread;
        ~JoinOnExit() {
            if (!thread.joinable()) return;
            handoff.cancel();
            thread.join();
        }
    } join_on_exit{handoff, encoding};
    Compositor compositor;
    // Without a filter stage the canvas goes to the encoder; composed in its YUV where it can be.
    const bool compose_yuv = plan_.filters.empty() && writer.takesAsIs(AV_PIX_FMT_YUV420P, plan_.width, plan_.height);
    Canvas composed;
    bool stopped = false, unreadable = false;
    for (int64_t k = 0; k < video_frames; ++k) {
        if (stopRequested()) {
            stopped = true;
            break;
        }
        int64_t t_us = av_rescale_q(k, av_inv_q(rate), AVRational{1, 1000000});
        if (plan_.filters.empty()) {
            Canvas* canvas = handoff.takeEmpty();
            if (!canvas) break;  // the encoding side failed
            compositor.render(plan_, t_us, canvas, compose_yuv);
            // A media of no readable picture would be written as black and called a success.
            if ((unreadable = compositor.showedUnreadableMedia())) {
                handoff.giveBack(canvas);
                break;
            }
            handoff.submit(canvas, k);
            continue;
        }
        // The filter stage after composition packs each view of the composed picture.
        compositor.render(plan_, t_us, &composed);
        if ((unreadable = compositor.showedUnreadableMedia())) break;
        bool handed = true;
        for (int view = 0; view < per_frame && handed; ++view) {
            Canvas* packed = handoff.takeEmpty();
            if (!(handed = packed != nullptr)) break;
            *packed = composed;
            applyFilterStage(plan_, t_us, view, packed);
            handoff.submit(packed, k * per_frame + view);
        }
        if (!handed) break;
    }
    if (stopped || unreadable) handoff.cancel();
    else handoff.close();
    encoding.join();  // the writer is this thread's again
    if (stopped) return ResultCode::Stopped;
    if (unreadable) return ResultCode::DecodeFailed;
    if (encode_rc != ResultCode::Ok) return encode_rc;
    if (writer.hasAudio()) {
        if (stopRequested()) return ResultCode::Stopped;
        if (ResultCode rc = soundUpTo(total_samples); rc != ResultCode::Ok) return rc;
    }
    if (stopRequested()) return ResultCode::Stopped;
    return writer.finish();
}

}  // namespace kestrel::editing
