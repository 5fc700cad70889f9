#include "editor/watermark/watermark_time_fields.h"

#include <algorithm>
#include <cmath>

namespace kestrel::editor {

HundredthsTime splitHundredths(double t) {
    HundredthsTime parts;
    if (!std::isfinite(t) || t < 0) return parts;
    const double whole = std::floor(t);
    parts.hours = static_cast<int>(static_cast<long long>(whole) / 3600);
    const double rest = t - parts.hours * 3600.0;
    parts.minutes = static_cast<int>(static_cast<long long>(std::floor(rest)) / 60);
    parts.seconds = static_cast<int>(std::floor(rest - parts.minutes * 60.0));
    // A hair of rounding (0.25 stored as 0.2499...) must not lose a hundredth.
    parts.hundredths = std::min(99, static_cast<int>((t - whole) * 100.0 + 1e-6));
    return parts;
}

QStringList hundredthsTexts(double seconds) {
    const HundredthsTime p = splitHundredths(seconds);
    auto two = [](int v) { return QString::asprintf("%02i", v); };
    return {two(p.hours), two(p.minutes), two(p.seconds), two(p.hundredths)};
}

double secondsFromHundredthsTexts(const QString& hours, const QString& minutes, const QString& seconds,
                                  const QString& hundredths) {
    return hours.toInt() * 3600.0 + minutes.toInt() * 60.0 + seconds.toInt() + hundredths.toInt() / 100.0;
}

int steppedFieldValue(int value, int delta, bool isFractionField) {
    return std::clamp(value + delta, 0, isFractionField ? 99 : 59);
}

}  // namespace kestrel::editor
