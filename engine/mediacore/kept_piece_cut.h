#pragma once
// A join's range cut as a keep-original convert cuts it: the source's codecs, its packets copied
// between key frames and only the pictures at the range's ends coded again.
#include <functional>

#include "engine/core/join_kept_pieces.h"

namespace kestrel::mediacore {

engine::ResultCode cutKeptPiece(const engine::KeptPiece& piece, const std::function<bool()>& stopped,
                                const std::function<void(double)>& progress);

}  // namespace kestrel::mediacore
