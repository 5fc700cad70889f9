#include "tools/shared/handle_gap.h"

#include <algorithm>

namespace kestrel::tools::shared {

DraggedRange keepHandlesApart(int64_t start_us, int64_t stop_us, int64_t duration_us, int64_t min_us, bool startDragged) {
    DraggedRange range{start_us, stop_us, false};
    if (stop_us - start_us >= min_us || duration_us < min_us) return range;
    range.corrected = true;
    if (startDragged) {
        range.start_us = std::max<int64_t>(0, stop_us - min_us);
        range.stop_us = std::max(stop_us, range.start_us + min_us);
    } else {
        range.stop_us = std::min(duration_us, start_us + min_us);
        range.start_us = std::min(start_us, range.stop_us - min_us);
    }
    return range;
}

}  // namespace kestrel::tools::shared
