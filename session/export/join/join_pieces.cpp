#include "session/export/join/join_pieces.h"

#include <algorithm>
#include <cmath>

namespace kestrel::session {
namespace {

constexpr int64_t kSecondUs = 1000000;
// Shorter pieces than this are left out: a removed range that touches an end of the file.
constexpr int64_t kEmptyPieceUs = 1000;

int64_t durationUs(const kestrel::model::SimpleData& clip) {
    return static_cast<int64_t>(std::llround(double(clip.sourceData.duration) * 1000000.0));
}

}  // namespace

int64_t transitionDurationUs(int64_t ownLengthUs, int64_t nextLengthUs) {
    const int64_t shorter = std::min(ownLengthUs, nextLengthUs);
    if (shorter <= 0) return 0;
    const int64_t t = shorter < 6 * kSecondUs ? shorter / 3 : 3 * kSecondUs;
    return t > kSecondUs / 2 ? t : 0;
}

int64_t keptLengthUs(const kestrel::model::SimpleData& clip) {
    const int64_t range = clip.cutTimeRange_stop - clip.cutTimeRange_start;
    return clip.isTrimFanxuan ? std::max<int64_t>(0, durationUs(clip) - range) : range;
}

std::vector<JoinPiece> joinPieces(const QList<kestrel::model::SimpleDataPtr>& clips) {
    // Each clip's own pieces first; transitions join a clip's last piece to the next clip's first.
    std::vector<std::vector<JoinPiece>> perClip;
    for (const kestrel::model::SimpleDataPtr& each : clips) {
        const kestrel::model::SimpleData& clip = *each;
        std::vector<JoinPiece> own;
        const auto add = [&](int64_t start, int64_t stop) {
            if (stop - start < kEmptyPieceUs) return;  // a removed range touching an end of the file
            JoinPiece piece;
            piece.path = clip.path;
            piece.start_us = start;
            piece.stop_us = stop;
            piece.volume = std::clamp(clip.volume, 0.0, 2.0);
            own.push_back(piece);
        };
        if (clip.isTrimFanxuan) {
            add(0, clip.cutTimeRange_start);
            add(clip.cutTimeRange_stop, durationUs(clip));
        } else {
            add(clip.cutTimeRange_start, clip.cutTimeRange_stop);
        }
        perClip.push_back(std::move(own));
    }
    for (size_t i = 0; i < perClip.size(); ++i) {
        const kestrel::model::SimpleData& clip = *clips[int(i)];
        if (perClip[i].empty() || clip.transitionEffect <= 0) continue;
        size_t next = i + 1;
        while (next < perClip.size() && perClip[next].empty()) ++next;
        if (next >= perClip.size()) continue;  // the last clip has nothing to blend into
        JoinPiece& tail = perClip[i].back();
        const JoinPiece& head = perClip[next].front();
        int64_t t = clip.isTrimFanxuan ? kSecondUs : transitionDurationUs(keptLengthUs(clip), keptLengthUs(*clips[int(next)]));
        // Each piece keeps a part of its own: the overlap never passes half of either.
        t = std::min({t, tail.lengthUs() / 2, head.lengthUs() / 2});
        if (t <= 0) continue;
        tail.transition = std::min(clip.transitionEffect, 3);
        tail.transition_us = t;
    }
    std::vector<JoinPiece> pieces;
    for (std::vector<JoinPiece>& own : perClip)
        for (JoinPiece& piece : own) pieces.push_back(std::move(piece));
    return pieces;
}

int64_t joinedLengthUs(const std::vector<JoinPiece>& pieces) {
    int64_t total = 0;
    for (const JoinPiece& piece : pieces) total += piece.lengthUs() - (piece.transition > 0 ? piece.transition_us : 0);
    return total;
}

}  // namespace kestrel::session
