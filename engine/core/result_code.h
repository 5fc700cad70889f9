#pragma once
// Outcome of an engine job. Success is positive so the C interface can return it as it stands.

namespace kestrel::engine {

enum class ResultCode : int {
    Ok = 1,
    Stopped = -1,         // Stop was asked; the partial output is gone
    EmptyRange = -2,      // cut range with start == end != 0, or nothing left after the cut
    OpenFailed = -3,      // the input cannot be opened or holds no media
    NoStream = -4,        // nothing to write: no usable video or audio stream
    EncoderMissing = -5,  // no encoder for the asked codec, or the container refuses it
    WriteFailed = -6,     // the output cannot be created, written or renamed into place
    BadArgument = -7,     // a setting out of range, or a call in the wrong state
    OutputExists = -8,    // the target file is already there; it is never overwritten
    DecodeFailed = -9,
    FilterFailed = -10,
    EncodeFailed = -11,
};

inline int toInt(ResultCode code) { return static_cast<int>(code); }
const char* resultCodeName(ResultCode code);

}  // namespace kestrel::engine
