#pragma once
// A muxer writing to `write_path`, with the container chosen from another name's extension
// (the final name; the file itself is written under a temporary name first).
#include "engine/core/ff_handles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrel::engine {

class MediaOutput {
public:
    static std::unique_ptr<MediaOutput> open(const std::string& write_path, const std::string& name_for_format,
                                             std::string* error = nullptr);
    // The container for a name's extension, to ask what it holds; nothing is opened or written.
    static std::unique_ptr<MediaOutput> describe(const std::string& name_for_format);
    ~MediaOutput();

    const AVOutputFormat* format() const { return format_->oformat; }
    bool wantsGlobalHeader() const { return (format_->oformat->flags & AVFMT_GLOBALHEADER) != 0; }
    // True for sound file types (by the final name's extension): a video source's picture is left out.
    bool audioOnly() const { return audio_only_; }
    // True when the container can hold this codec.
    bool accepts(AVCodecID codec) const;

    // New stream from an opened encoder, or for copied packets. Returns its index or an AVERROR.
    int addStream(const AVCodecContext* encoder);
    int addCopyStream(const AVStream* source);

    int writeHeader();
    // Moves the packet from `from` time base into the stream's and writes it interleaved.
    int write(AVPacket* packet, int stream_index, AVRational from);
    int finish();
    int64_t bytesWritten() const;

private:
    MediaOutput() = default;
    OutputFormatPtr format_;
    bool header_written_ = false;
    bool finished_ = false;
    std::vector<int64_t> last_dts_;  // per output stream, in its time base
    std::string name_;  // the final name, whose extension is the file type
    bool audio_only_ = false;
};

}  // namespace kestrel::engine
