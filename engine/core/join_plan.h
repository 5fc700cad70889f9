#pragma once
// Everything a join run needs to know before it writes a byte: each clip's streams and the
// range actually taken, whether packets can be copied, and the output's picture and sound.
extern "C" {
#include <libavcodec/avcodec.h>
}
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/join_settings.h"
#include "engine/core/media_input.h"
#include "engine/core/result_code.h"

namespace kestrel::engine {

struct JoinVideoParams {
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0, height = 0;
    int pixel_format = -1;
    AVRational sample_aspect{0, 1};
    AVRational frame_rate{0, 1};
    int rotation_deg = 0;  // display rotation, clockwise, 0/90/180/270
    std::vector<uint8_t> extradata;
};

struct JoinAudioParams {
    AVCodecID codec = AV_CODEC_ID_NONE;
    int sample_rate = 0;
    int channels = 0;
    std::vector<uint8_t> extradata;
};

struct JoinClipSource {
    JoinClip clip;
    std::unique_ptr<MediaInput> input;  // kept open for the run
    int video_stream = -1;  // index in the file, -1 when the clip has no picture
    int audio_stream = -1;
    JoinVideoParams video;
    JoinAudioParams audio;
    int64_t start_us = 0;       // the range taken, on the clip's own time line
    int64_t end_us = 0;
    bool starts_on_key_frame = false;
    int64_t key_frame_us = 0;   // where copied packets start: the key frame at or before start_us

    int64_t lengthUs() const { return end_us - start_us; }
};

struct JoinPlan {
    std::vector<JoinClipSource> clips;
    bool has_video = false;
    bool has_audio = false;
    bool copy_packets = false;
    bool copy_but_for_starts = false;  // only ranges starting between key frames keep it from copying
    // Re-encode output (unused when copying).
    const AVCodec* video_encoder = nullptr;
    const AVCodec* audio_encoder = nullptr;
    int width = 0, height = 0;
    AVRational frame_rate{25, 1};
    int sample_rate = 44100;
    int channels = 2;
    int video_kbps = 0, audio_kbps = 0;  // 0: the encoder's default
    std::vector<int64_t> transition_us;  // per clip: overlap with the next one, 0 for none

    int64_t totalUs() const;
};

// Opens every clip, resolves its range and decides between copying and re-encoding.
ResultCode makeJoinPlan(const JoinSettings& settings, JoinPlan* plan, std::string* error);

}  // namespace kestrel::engine
