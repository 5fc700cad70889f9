#include "tests/journeys/journey_helpers.h"

#include <cmath>
#include <sstream>
#include <string>

namespace kestrel::test::journey {

namespace {

// The frames a range edge may fall on: the one it lies inside and the next, or just the one
// it meets exactly.
std::vector<int> edgeFrames(double seconds, int fps) {
    const double at = seconds * fps;
    const int below = int(std::floor(at + 1e-6)), above = int(std::ceil(at - 1e-6));
    if (below == above) return {below};
    return {below, above};
}

// Whether output frames from `at` on show the clips from `clip` on, trying each allowed edge.
bool matchFrom(const std::vector<FrameMapping>& mappings, const std::vector<ClipTimes>& clips, size_t clip, int at,
               int fps) {
    if (clip == clips.size()) return at == mappings.front().outputFrames();
    const FrameMapping& mapping = mappings.at(size_t(clips[clip].source));
    for (const int first : edgeFrames(clips[clip].start_s, fps)) {
        for (const int end : edgeFrames(clips[clip].end_s, fps)) {
            const int count = end - first;
            if (count <= 0 || at + count > mapping.outputFrames()) continue;
            bool same = true;
            for (int k = 0; k < count && same; ++k) same = mapping.shows(at + k, first + k);
            if (same && matchFrom(mappings, clips, clip + 1, at + count, fps)) return true;
        }
    }
    return false;
}

}  // namespace

::testing::AssertionResult showsClipsInOrder(const std::vector<FrameMapping>& mappings,
                                             const std::vector<ClipTimes>& clips, int fps) {
    for (const FrameMapping& mapping : mappings)
        if (!mapping.error.empty()) return ::testing::AssertionFailure() << mapping.error;
    if (mappings.empty()) return ::testing::AssertionFailure() << "no source";
    if (matchFrom(mappings, clips, 0, 0, fps)) return ::testing::AssertionSuccess();
    std::ostringstream wanted;
    for (const ClipTimes& c : clips) wanted << " " << c.start_s << "-" << c.end_s << " s of source " << c.source;
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "wanted the clips" << wanted.str() << " at " << fps << " fps; got";
    for (const FrameMapping& mapping : mappings) failure << "\n" << mapping.describe();
    return failure;
}

::testing::AssertionResult showsClipsInOrder(const FrameMapping& mapping, const std::vector<ClipTimes>& clips,
                                             int fps) {
    return showsClipsInOrder(std::vector<FrameMapping>{mapping}, clips, fps);
}

}  // namespace kestrel::test::journey
