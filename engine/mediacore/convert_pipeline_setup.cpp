// Building the lanes of a convert run: copy where the source can be kept as it is, otherwise a
// decoder, the shared filter graph and an encoder.
#include "engine/core/codec_choice.h"
#include "engine/core/colour_description.h"
#include "engine/mediacore/convert_pipeline.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kestrel::mediacore {

using namespace kestrel::engine;

namespace {

bool isCopyName(const std::string& name) { return name.empty() || name == "copy"; }

bool pictureChanges(const ConvertSettings& s, const AVCodecParameters* par) {
    return normalizedAngle(s.rotation_deg) != 0 || s.hflip || s.vflip || !s.crop.isZero() ||
           (s.width > 0 && s.width != par->width) || (s.height > 0 && s.height != par->height) ||
           s.frame_rate.num > 0 || s.brightness != 0 || s.contrast != 0 || s.saturation != 0 ||
           !s.effect_chains.empty() || !s.watermarks.empty() || s.subtitle.has_value() || s.speed != 1.0 ||
           s.video_kbps > 0;
}

bool soundChanges(const ConvertSettings& s, const AVCodecParameters* par) {
    return s.main_volume != 1.0 || !s.music.empty() || s.speed != 1.0 || s.audio_kbps > 0 ||
           (s.channels > 0 && s.channels != par->ch_layout.nb_channels) ||
           (s.sample_rate > 0 && s.sample_rate != par->sample_rate);
}

// The asked encoder, or the source's codec, or H.264/AAC, or the container's own default.
const AVCodec* chooseEncoder(const std::string& asked, AVMediaType type, AVCodecID source, const MediaOutput& output) {
    if (!isCopyName(asked)) {
        const AVCodec* codec = findEncoderByName(asked, type);
        return codec && output.accepts(codec->id) ? codec : nullptr;
    }
    AVCodecID fallback = type == AVMEDIA_TYPE_VIDEO ? AV_CODEC_ID_H264 : AV_CODEC_ID_AAC;
    AVCodecID container = type == AVMEDIA_TYPE_VIDEO ? output.format()->video_codec : output.format()->audio_codec;
    for (AVCodecID id : {source, fallback, container}) {
        if (id == AV_CODEC_ID_NONE || !output.accepts(id)) continue;
        if (const AVCodec* codec = findEncoder(id)) return codec;
    }
    return nullptr;
}

// MPEG-1/2 video store one of a few frame rates and count time in frames: the nearest of those
// to the rate the output would have, or {0, 1} for encoders free of such a list.
AVRational fixedFrameRate(const AVCodec* codec, const ConvertSettings& s, AVRational source_rate) {
    if (!codec->supported_framerates) return AVRational{0, 1};
    AVRational wanted = s.frame_rate.num > 0 ? s.frame_rate : source_rate;
    if (wanted.num <= 0 || wanted.den <= 0) wanted = AVRational{25, 1};
    if (s.frame_rate.num <= 0 && s.speed > 0 && s.speed != 1.0) wanted = av_mul_q(wanted, av_d2q(s.speed, 1000));
    return codec->supported_framerates[av_find_nearest_q_idx(wanted, codec->supported_framerates)];
}

int chooseChannels(const AVCodec* codec, int wanted) {
    if (!codec->ch_layouts) return wanted;
    for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l)
        if (l->nb_channels == wanted) return wanted;
    for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l)
        if (l->nb_channels == 2) return 2;
    return codec->ch_layouts[0].nb_channels;
}

}  // namespace

int evenSizeRule(const MediaInput& input, const std::string& video_codec, const std::string& output_name) {
    std::unique_ptr<MediaOutput> output = MediaOutput::describe(output_name);
    if (!output) return -1;
    const int index = input.bestVideoStream();
    if (index < 0 || output->format()->video_codec == AV_CODEC_ID_NONE || output->audioOnly()) return 0;
    const AVStream* st = input.stream(index);
    // The encoder and picture format setupVideo takes for a changed picture.
    const AVCodec* codec = chooseEncoder(video_codec, AVMEDIA_TYPE_VIDEO, st->codecpar->codec_id, *output);
    if (!codec) return -1;
    return needsEvenSize(choosePixelFormat(codec, st->codecpar->format)) ? 1 : 0;
}

ResultCode ConvertPipeline::prepare(const std::string& input_path, const std::string& write_path) {
    std::string error;
    input_ = MediaInput::open(input_path, &error);
    if (!input_) return ResultCode::OpenFailed;
    int64_t duration = input_->durationUs();
    if (settings_.cut_set && !(settings_.cut_start_us == 0 && settings_.cut_end_us == 0)) {
        if (settings_.cut_start_us == settings_.cut_end_us) return ResultCode::EmptyRange;
        if (settings_.cut_start_us < 0 || settings_.cut_end_us < settings_.cut_start_us) return ResultCode::BadArgument;
        cut_start_us_ = settings_.cut_start_us;
        cut_end_us_ = settings_.cut_end_us;
        if (duration > 0 && cut_start_us_ >= duration) return ResultCode::EmptyRange;
        if (duration > 0 && cut_end_us_ >= duration) cut_end_us_ = 0;
    }
    range_us_ = (cut_end_us_ > 0 ? cut_end_us_ : duration) - cut_start_us_;
    output_ = MediaOutput::open(write_path, settings_.output_path, &error);
    if (!output_) return ResultCode::WriteFailed;
    ResultCode rc = setupVideo();
    if (rc != ResultCode::Ok) return rc;
    rc = setupAudio();
    if (rc != ResultCode::Ok) return rc;
    if (video_.out_index < 0 && audio_.out_index < 0) return ResultCode::NoStream;
    return ResultCode::Ok;
}

// Whether the source's video packets can be kept for the range: copied as they are, or copied
// between key frames with the pictures at the ends coded again (a cut that a size cap may end
// early is not spliced: its end is not known beforehand).
KeptCut ConvertPipeline::keptCut(int stream_index) {
    if (cut_start_us_ == 0 && cut_end_us_ == 0) return KeptCut::Copy;
    const std::optional<NalStream> nal = NalStream::of(input_->stream(stream_index)->codecpar);
    KeptCutPlan plan;
    const KeptCut kept = planKeptCut(*input_, stream_index, cut_start_us_, cut_end_us_, nal ? &*nal : nullptr, &plan);
    if (kept == KeptCut::Splice) {
        if (settings_.limit_bytes > 0) return KeptCut::Encode;
        smart_cut_ = std::make_unique<SmartCutVideo>(*input_, stream_index, *nal, plan, cut_start_us_, cut_end_us_);
    }
    return kept;
}

ResultCode ConvertPipeline::setupVideo() {
    int index = input_->bestVideoStream();
    // Sound file types may allow a cover picture or even video (m4a), but a video source's
    // pictures do not belong in them.
    if (index < 0 || output_->format()->video_codec == AV_CODEC_ID_NONE || output_->audioOnly()) return ResultCode::Ok;
    AVStream* st = input_->stream(index);
    video_.in_index = index;
    video_.start_offset = av_rescale_q(input_->startTimeUs(), AV_TIME_BASE_Q, st->time_base);

    // Pictures timed by count are placed by decoding them: their packets carry no time to cut
    // at, nor one a container could store.
    const bool timed = input_->countedPictureLength(index) == 0;
    const bool keepPicture = !settings_.force_encode && isCopyName(settings_.video_codec) && !pictureChanges(settings_, st->codecpar) &&
                             output_->accepts(st->codecpar->codec_id) && timed;
    if (keepPicture) {
        const KeptCut kept = keptCut(index);
        if (kept != KeptCut::Encode) {
            video_.copy = true;
            video_.out_index = output_->addCopyStream(st);
            return video_.out_index >= 0 ? ResultCode::Ok : ResultCode::WriteFailed;
        }
    }

    const AVCodec* codec = chooseEncoder(settings_.video_codec, AVMEDIA_TYPE_VIDEO, st->codecpar->codec_id, *output_);
    if (!codec) return ResultCode::EncoderMissing;
    video_.decoder = StreamDecoder::open(st);
    if (!video_.decoder) return ResultCode::DecodeFailed;
    video_.decoder->countFrames(input_->countedPictureLength(index));
    AVCodecContext* dec = video_.decoder->context();
    VideoSourceParams source = VideoSourceParams::fromDecoder(dec, st->time_base);
    if (source.pixel_format < 0) source.pixel_format = st->codecpar->format;
    if (source.pixel_format < 0) return ResultCode::DecodeFailed;
    if (source.sample_aspect.num <= 0) source.sample_aspect = st->sample_aspect_ratio;

    VideoSettings video;
    video.rotation_deg = settings_.rotation_deg;
    video.hflip = settings_.hflip;
    video.vflip = settings_.vflip;
    video.crop = settings_.crop;
    video.out_width = settings_.width;
    video.out_height = settings_.height;
    // A chosen frame size never stretches the picture.
    video.fit_in_box = true;
    video.frame_rate = settings_.frame_rate;
    video.brightness = settings_.brightness;
    video.contrast = settings_.contrast;
    video.saturation = settings_.saturation;
    video.effect_chains = settings_.effect_chains;
    if (settings_.subtitle) video.subtitles.push_back(*settings_.subtitle);
    video.cut_start_us = cut_start_us_;
    video.cut_end_us = cut_end_us_;
    video.speed = settings_.speed;
    AVRational fixed_rate = fixedFrameRate(codec, settings_, av_guess_frame_rate(input_->format(), st, nullptr));
    if (fixed_rate.num > 0) video.frame_rate = fixed_rate;
    video.output_pixel_format = choosePixelFormat(codec, source.pixel_format);
    video.even_size = needsEvenSize(video.output_pixel_format);
    ResultCode rc = renderTextWatermarks(video, source.width, source.height);
    if (rc != ResultCode::Ok) return rc;
    PictureGeometry geometry;
    if (!computeGeometry(source.width, source.height, video, &geometry, source.sample_aspect)) return ResultCode::BadArgument;

    video_.graph = FilterGraph::buildVideo(source, video);
    if (!video_.graph) return ResultCode::FilterFailed;
    video_.conformer = std::make_unique<FrameConformer>(source.width, source.height, source.pixel_format);

    VideoEncodeParams params;
    params.codec = codec;
    params.width = video_.graph->outputWidth();
    params.height = video_.graph->outputHeight();
    params.pixel_format = video_.graph->outputFormat();
    params.time_base = video_.graph->outputTimeBase();
    AVRational rate = settings_.frame_rate.num > 0 ? settings_.frame_rate : video_.graph->outputFrameRate();
    if (rate.num <= 0 || rate.den <= 0) rate = av_guess_frame_rate(input_->format(), st, nullptr);
    if (settings_.frame_rate.num <= 0 && settings_.speed != 1.0 && rate.num > 0)
        rate = av_mul_q(rate, av_d2q(settings_.speed, 1000));
    if (fixed_rate.num > 0) {
        rate = fixed_rate;
        params.time_base = av_inv_q(fixed_rate);
    }
    params.frame_rate = rate;
    params.sample_aspect = video_.graph->outputSampleAspect();
    params.bit_rate = int64_t(settings_.video_kbps) * 1000;
    if (params.bit_rate == 0 && codec->id == st->codecpar->codec_id && codec->id != AV_CODEC_ID_H264 && codec->id != AV_CODEC_ID_HEVC)
        params.bit_rate = st->codecpar->bit_rate;  // same codec kept: keep its rate too
    // A stream timed by count is coded again only because it cannot be copied: close to its own
    // quality, as no rate of its own is known.
    if (settings_.video_kbps <= 0 && !timed && codec->id != AV_CODEC_ID_H264 && codec->id != AV_CODEC_ID_HEVC) {
        params.bit_rate = 0;
        params.fixed_quantiser = 2;
    }
    params.global_header = output_->wantsGlobalHeader();
    const ColourDescription colours = outputColours(source, params.pixel_format);
    params.color_range = colours.range;
    params.colorspace = colours.space;
    params.color_primaries = colours.primaries;
    params.color_trc = colours.transfer;
    video_.encoder = StreamEncoder::openVideo(params);
    if (!video_.encoder) return ResultCode::EncoderMissing;
    video_.out_index = output_->addStream(video_.encoder->context());
    return video_.out_index >= 0 ? ResultCode::Ok : ResultCode::WriteFailed;
}

ResultCode ConvertPipeline::renderTextWatermarks(VideoSettings& video, int source_w, int source_h) {
    int angle = normalizedAngle(settings_.rotation_deg);
    bool swap = angle == 90 || angle == 270;
    int frame_w = swap ? source_h : source_w;
    int frame_h = swap ? source_w : source_h;
    for (const WatermarkEntry& entry : settings_.watermarks) {
        Watermark mark = entry.mark;
        if (entry.text) {
            if (!entry.text->callback) continue;  // nothing can draw it: it is left out
            auto picture = std::make_shared<BgraPicture>();
            picture->width = frame_w;
            picture->height = frame_h;
            picture->pixels.assign(size_t(frame_w) * frame_h * 4, 0);
            entry.text->callback(frame_w, frame_h, picture->pixels.data(), entry.text->record);
            mark.text_picture = std::move(picture);
        }
        video.watermarks.push_back(std::move(mark));
    }
    return ResultCode::Ok;
}

ResultCode ConvertPipeline::setupAudio() {
    if (output_->format()->audio_codec == AV_CODEC_ID_NONE) return ResultCode::Ok;
    int index = settings_.main_disabled ? -1 : input_->audioStreamOrDefault(settings_.audio_index);
    if (index < 0 && settings_.music.empty()) return ResultCode::Ok;
    AVStream* st = index >= 0 ? input_->stream(index) : nullptr;
    audio_.in_index = index;

    if (st) {
        audio_.start_offset = av_rescale_q(input_->startTimeUs(), AV_TIME_BASE_Q, st->time_base);
        if (!settings_.force_encode && isCopyName(settings_.audio_codec) && !soundChanges(settings_, st->codecpar) &&
            output_->accepts(st->codecpar->codec_id)) {
            audio_.copy = true;
            audio_.out_index = output_->addCopyStream(st);
            return audio_.out_index >= 0 ? ResultCode::Ok : ResultCode::WriteFailed;
        }
    }
    const AVCodec* codec = chooseEncoder(settings_.audio_codec, AVMEDIA_TYPE_AUDIO, st ? st->codecpar->codec_id : AV_CODEC_ID_NONE, *output_);
    if (!codec) return ResultCode::EncoderMissing;

    std::unique_ptr<AudioSourceParams> source;
    if (st) {
        audio_.decoder = StreamDecoder::open(st);
        if (!audio_.decoder) return ResultCode::DecodeFailed;
        source = std::make_unique<AudioSourceParams>(AudioSourceParams::fromDecoder(audio_.decoder->context(), st->time_base));
    }
    AudioEncodeParams params;
    params.codec = codec;
    params.sample_rate = chooseSampleRate(codec, settings_.sample_rate > 0 ? settings_.sample_rate : source ? source->sample_rate : 44100);
    params.channels = chooseChannels(codec, settings_.channels > 0 ? settings_.channels : source ? source->layout.nb_channels : 2);
    params.sample_format = chooseSampleFormat(codec, source ? source->sample_format : AV_SAMPLE_FMT_FLTP);
    params.bit_rate = int64_t(settings_.audio_kbps) * 1000;
    if (params.bit_rate == 0 && st && codec->id == st->codecpar->codec_id) params.bit_rate = st->codecpar->bit_rate;
    params.global_header = output_->wantsGlobalHeader();
    audio_.encoder = StreamEncoder::openAudio(params);
    if (!audio_.encoder) return ResultCode::EncoderMissing;

    AudioSettings sound;
    sound.main_enabled = st != nullptr;
    sound.main_volume = settings_.main_volume;
    sound.music = settings_.music;
    sound.cut_start_us = cut_start_us_;
    sound.cut_end_us = cut_end_us_;
    sound.speed = settings_.speed;
    sound.output_duration_us = static_cast<int64_t>(range_us_ / (settings_.speed > 0 ? settings_.speed : 1.0));
    AudioSinkFormat sink;
    sink.sample_rate = params.sample_rate;
    sink.sample_format = params.sample_format;
    sink.channels = params.channels;
    sink.frame_size = audio_.encoder->requiredFrameSize();
    audio_.graph = FilterGraph::buildAudio(source.get(), sound, sink);
    if (!audio_.graph) return ResultCode::FilterFailed;
    if (!st) audio_.input_done = true;
    audio_.out_index = output_->addStream(audio_.encoder->context());
    return audio_.out_index >= 0 ? ResultCode::Ok : ResultCode::WriteFailed;
}

}  // namespace kestrel::mediacore
