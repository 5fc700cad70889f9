#pragma once
// What the journeys share: the source frames a cut or joined output must show.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/media_oracle.h"

namespace kestrel::test::journey {

// A range of a source, in seconds.
struct ClipTimes {
    double start_s = 0, end_s = 0;
    int source = 0;  // which of several sources the clip is taken from (an index into the mappings)
};

// The output shows the clips one after another, each as an unbroken run of source frames that
// begins and ends within one frame of its times (a frame the range edge falls inside may be
// kept or left out), nothing lost, doubled or foreign in between.
::testing::AssertionResult showsClipsInOrder(const FrameMapping& mapping, const std::vector<ClipTimes>& clips,
                                             int fps);
// The same for clips of several sources: mappings[i] maps the output against source i.
::testing::AssertionResult showsClipsInOrder(const std::vector<FrameMapping>& mappings,
                                             const std::vector<ClipTimes>& clips, int fps);

}  // namespace kestrel::test::journey
