#pragma once
// THE filter-graph builder: settings plus the parameters of a decoded stream give one libavfilter
// graph (buffer source in, buffer sink out). Export and preview both push their frames through it,
// so what is previewed is what is written. Rebuild it when the settings change.
//
// Frames pushed must carry their time on the source file's time line (0 = file start) in the
// declared time base: watermark windows, subtitles and the cut are read against it.
#include "engine/core/ff_handles.h"
#include "engine/core/render_settings.h"

#include <memory>
#include <string>

namespace kestrel::engine {

struct VideoSourceParams {
    int width = 0;
    int height = 0;
    int pixel_format = -1;            // AVPixelFormat
    AVRational time_base{1, 1000000};
    AVRational sample_aspect{0, 1};
    AVRational frame_rate{0, 1};
    int color_space = -1;             // AVColorSpace, for converting watermarks to the video's YUV
    int color_range = -1;             // AVColorRange
    int color_primaries = -1;         // AVColorPrimaries
    int color_trc = -1;               // AVColorTransferCharacteristic
    static VideoSourceParams fromDecoder(const AVCodecContext* decoder, AVRational time_base);
};

struct AudioSourceParams {
    int sample_rate = 0;
    int sample_format = -1;           // AVSampleFormat
    AVChannelLayout layout{};
    AVRational time_base{1, 1000000};
    static AudioSourceParams fromDecoder(const AVCodecContext* decoder, AVRational time_base);

    AudioSourceParams() = default;
    AudioSourceParams(const AudioSourceParams& other) { *this = other; }
    AudioSourceParams& operator=(const AudioSourceParams& other);
    ~AudioSourceParams() { av_channel_layout_uninit(&layout); }
};

// What the audio encoder takes; 0 or -1 leaves a field to the source.
struct AudioSinkFormat {
    int sample_rate = 0;
    int sample_format = -1;
    int channels = 0;
    int frame_size = 0;               // > 0: every frame but the last has exactly this many samples
};

// Picture size after rotation, crop and scaling, as the builder will produce it.
struct PictureGeometry {
    int turned_width = 0, turned_height = 0;    // after the rotation
    int output_width = 0, output_height = 0;    // after crop, scale and even rounding
    // The picture inside the output: the output itself, or less where a box is padded black.
    int picture_width = 0, picture_height = 0;
    int picture_x = 0, picture_y = 0;
};
// Fails (returns false) when the crop leaves nothing. sample_aspect is the source's pixel shape
// (0/1 or 1/1: square), which a picture fitted into a box keeps.
bool computeGeometry(int source_width, int source_height, const VideoSettings& settings, PictureGeometry* out,
                     AVRational sample_aspect = AVRational{1, 1});

class FilterGraph {
public:
    static std::unique_ptr<FilterGraph> buildVideo(const VideoSourceParams& source, const VideoSettings& settings,
                                                   std::string* error = nullptr);
    // main may be null: the sound then comes from the music alone (over silence).
    static std::unique_ptr<FilterGraph> buildAudio(const AudioSourceParams* main, const AudioSettings& settings,
                                                   const AudioSinkFormat& sink_format, std::string* error = nullptr);

    // Hands a frame to the graph (its data is taken over); null marks the end of the input, at
    // the end of the last frame pushed (or at the cut's end, if earlier).
    int push(AVFrame* frame);
    // 0 with a frame, AVERROR(EAGAIN) when more input is needed, AVERROR_EOF at the end.
    int pull(AVFrame* frame);

    bool hasSource() const { return source_ != nullptr; }
    AVRational outputTimeBase() const;
    AVRational outputFrameRate() const;
    AVRational outputSampleAspect() const;
    int outputWidth() const;
    int outputHeight() const;
    int outputFormat() const;
    int outputSampleRate() const;
    int outputChannelLayout(AVChannelLayout* layout) const;

private:
    // How the end of the input is placed: the pushed frames' time base, the source rate (for a
    // lone video frame) and the cut's end, if any.
    void setInputClock(AVRational time_base, AVRational frame_rate, int64_t cut_end_us);
    void noteInputEnd(const AVFrame* frame);

    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    bool ended_ = false;
    AVRational input_time_base_{0, 1};
    AVRational input_frame_rate_{0, 1};
    int64_t cut_end_pts_ = AV_NOPTS_VALUE;
    int64_t last_pts_ = AV_NOPTS_VALUE;
    int64_t input_end_pts_ = AV_NOPTS_VALUE;

    friend class VideoGraphBuilder;
    friend class AudioGraphBuilder;
};

}  // namespace kestrel::engine
