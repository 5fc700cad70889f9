#include "tools/cutter/cut_time.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace kestrel::tools::cutter {

namespace {
int fractionScale(int digits) { return digits == 3 ? 1000 : 100; }
}  // namespace

TimeFields splitTime(double seconds, int fractionDigits) {
    if (!(seconds > 0)) return {};
    TimeFields f;
    const int64_t whole = int64_t(std::floor(seconds));
    f.hours = int(whole / 3600);
    f.minutes = int((whole - int64_t(f.hours) * 3600) / 60);
    f.seconds = int(whole - int64_t(f.hours) * 3600 - int64_t(f.minutes) * 60);
    // A small epsilon keeps 12.34 from reading back as 12.33.
    f.fraction = int((seconds - double(whole)) * fractionScale(fractionDigits) + 1e-6);
    return f;
}

int64_t fieldsToUs(const TimeFields& f, int fractionDigits) {
    const int scale = fractionScale(fractionDigits);
    return int64_t(f.hours) * 3600'000'000 + int64_t(f.minutes) * 60'000'000 + int64_t(f.seconds) * 1'000'000 +
           int64_t(f.fraction) * (1'000'000 / scale);
}

int64_t secondsToUs(double seconds) { return int64_t(seconds * 1000000.0); }

int64_t expectedOutputBytes(const QString& source, double duration_s, int64_t kept_us) {
    const int64_t size = QFileInfo(source).size();
    if (size <= 0 || !(duration_s > 0)) return 0;
    const double share = std::clamp(double(kept_us) / (duration_s * 1e6), 0.0, 1.0);
    return int64_t(double(size) * share);
}

RangeUs rangeAppliedTo(double s, double e, double d) {
    const double length = e - s;
    // A range as long as the file (or longer) takes the whole file, never an empty range at its end.
    if (length >= d) return {0, secondsToUs(d)};
    if (e > d && length < d) return {secondsToUs(d - length), secondsToUs(d)};
    return {secondsToUs(std::min(s, d)), secondsToUs(std::min(e, d))};
}

}  // namespace kestrel::tools::cutter
