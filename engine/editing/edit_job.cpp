#include "engine/editing/edit_job.h"

#include "engine/core/output_file.h"
#include "engine/editing/compositor.h"
#include "engine/editing/encode_writer.h"
#include "engine/editing/filter_stage.h"
#include "engine/editing/sound_mixer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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

    Compositor compositor;
    Canvas canvas;
    engine::FramePtr picture = engine::makeFrame();
    const int64_t video_frames = writer.hasVideo() ? frames : 0;
    const int64_t steps = std::max<int64_t>(1, video_frames + (total_samples > 0 ? 1 : 0));
    for (int64_t k = 0; k < video_frames; ++k) {
        if (stopRequested()) return ResultCode::Stopped;
        int64_t t_us = av_rescale_q(k, av_inv_q(rate), AVRational{1, 1000000});
        compositor.render(plan_, t_us, &canvas);
        for (int view = 0; view < per_frame; ++view) {
            Canvas packed;
            const Canvas* shown = &canvas;
            if (!plan_.filters.empty()) {
                packed = canvas;
                applyFilterStage(plan_, t_us, view, &packed);
                shown = &packed;
            }
            picture->format = AV_PIX_FMT_BGRA;
            picture->width = shown->width;
            picture->height = shown->height;
            picture->data[0] = const_cast<uint8_t*>(shown->bgra.data());
            picture->linesize[0] = shown->width * 4;
            if (ResultCode rc = writer.writeVideo(picture.get(), k * per_frame + view); rc != ResultCode::Ok) return rc;
        }
        if (writer.hasAudio()) {
            int64_t next_us = av_rescale_q(k + 1, av_inv_q(rate), AVRational{1, 1000000});
            if (ResultCode rc = soundUpTo(av_rescale(next_us, writer.sampleRate(), 1000000)); rc != ResultCode::Ok)
                return rc;
        }
        double fraction = double(k + 1) / double(steps);
        setProgress(fraction);
        progress_.store(std::min(99.9, fraction * 100.0), std::memory_order_relaxed);
    }
    if (writer.hasAudio()) {
        if (stopRequested()) return ResultCode::Stopped;
        if (ResultCode rc = soundUpTo(total_samples); rc != ResultCode::Ok) return rc;
    }
    if (stopRequested()) return ResultCode::Stopped;
    return writer.finish();
}

}  // namespace kestrel::editing
