#pragma once
// One output file of the editing engine: encoders for a picture stream and a sound stream,
// BGRA or decoded pictures and float samples in, packets muxed out. Shared by the export and
// the reverse encoder.
#include "engine/core/media_output.h"
#include "engine/core/result_code.h"
#include "engine/core/stream_encoder.h"
#include "engine/editing/gif_frame_group.h"
#include "engine/editing/sliced_converter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrel::editing {

// True for extensions that name a sound-only container.
bool isAudioOnlyExtension(const std::string& path);
// Lower-case extension without the dot.
std::string extensionOf(const std::string& path);

class EncodeWriter {
public:
    // Writes to write_path; the container follows target_path's extension.
    engine::ResultCode open(const std::string& write_path, const std::string& target_path);
    // gif: the GIF encoder; otherwise H.264 where the container takes it, else its default.
    // threads 0: FFmpeg picks the encoder's thread count. sample_aspect keeps non-square pixels.
    engine::ResultCode addVideo(bool gif, int width, int height, AVRational frame_rate, int64_t bit_rate, int threads,
                                AVRational sample_aspect = AVRational{1, 1});
    // AAC where the container takes it, else its default sound codec.
    engine::ResultCode addAudio(int sample_rate, int channels, int64_t bit_rate);
    // Before addVideo: an encoder that holds few pictures, for a render whose memory must stay small.
    void holdFewPictures() { few_pictures_held_ = true; }
    engine::ResultCode begin();

    // Any picture of the stream's size; pts counts frames.
    engine::ResultCode writeVideo(const AVFrame* picture, int64_t frame_index);
    // Interleaved float samples, any count; cut into the encoder's frames.
    engine::ResultCode writeAudio(const float* samples, int count);
    // Drains, writes the trailer and closes the file.
    engine::ResultCode finish();

    bool hasVideo() const { return video_ != nullptr; }
    // True when pictures of this format and the stream's size go to the encoder as they are.
    bool takesAsIs(AVPixelFormat format, int width, int height) const;
    bool hasAudio() const { return audio_ != nullptr; }
    int sampleRate() const;
    int channels() const;

private:
    engine::ResultCode drain(engine::StreamEncoder& encoder, int stream_index);
    engine::ResultCode sendAudioFrame(int count);
    // GIF pictures wait in a group for the palette made from them; this encodes the group.
    engine::ResultCode flushGifGroup();

    std::unique_ptr<engine::MediaOutput> output_;
    std::string target_path_;
    std::unique_ptr<engine::StreamEncoder> video_, audio_;
    int video_index_ = -1, audio_index_ = -1;
    SlicedConverter converter_;
    engine::FramePtr converted_ = engine::makeFrame();
    std::vector<float> pending_;            // interleaved samples not yet in a frame
    int audio_frame_size_ = 1024;
    int64_t audio_pts_ = 0;
    engine::PacketPtr packet_ = engine::makePacket();
    std::unique_ptr<GifFrameGroup> gif_group_;
    bool few_pictures_held_ = false;
};

}  // namespace kestrel::editing
