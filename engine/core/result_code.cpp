#include "engine/core/result_code.h"

namespace kestrel::engine {

const char* resultCodeName(ResultCode code) {
    switch (code) {
    case ResultCode::Ok: return "ok";
    case ResultCode::Stopped: return "stopped";
    case ResultCode::EmptyRange: return "empty range";
    case ResultCode::OpenFailed: return "open failed";
    case ResultCode::NoStream: return "no stream";
    case ResultCode::EncoderMissing: return "encoder missing";
    case ResultCode::WriteFailed: return "write failed";
    case ResultCode::BadArgument: return "bad argument";
    case ResultCode::OutputExists: return "output exists";
    case ResultCode::DecodeFailed: return "decode failed";
    case ResultCode::FilterFailed: return "filter failed";
    case ResultCode::EncodeFailed: return "encode failed";
    }
    return "unknown";
}

}  // namespace kestrel::engine
