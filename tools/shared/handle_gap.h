#pragma once
// The range a drag of a cut bar's handle leaves, never shorter than the shortest range the
// time fields can hold: the dragged handle stops that far from the other one.
#include <cstdint>

namespace kestrel::tools::shared {

struct DraggedRange {
    int64_t start_us = 0;
    int64_t stop_us = 0;
    bool corrected = false;  // the drag would have brought the handles closer
};

// start and stop as the drag left them; the dragged handle is the start one when startDragged.
DraggedRange keepHandlesApart(int64_t start_us, int64_t stop_us, int64_t duration_us, int64_t min_us, bool startDragged);

}  // namespace kestrel::tools::shared
