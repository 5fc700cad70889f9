#pragma once
// What the GIF maker view's source files share: texts, times and poll intervals.
#include "services/language.h"

#include <QString>
#include <algorithm>
#include <cstdint>

namespace gif::detail {

constexpr int kPollMs = 200;
constexpr int kDebounceMs = 200;
constexpr int kPreviewLongSide = 640;

inline QString tr_(const char* key) { return services::localized(QString::fromLatin1(key)); }

// "hh:mm:ss.mmm" of microseconds.
inline QString formatTime(int64_t us) {
    us = std::max<int64_t>(0, us);
    const int64_t ms = us / 1000;
    return QString::asprintf("%02d:%02d:%02d.%03d", int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60),
                             int(ms % 1000));
}

}  // namespace gif::detail
