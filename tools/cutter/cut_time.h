#pragma once
// Time arithmetic of the cutters' time fields and ranges, kept apart from the windows.
#include <QString>
#include <cstdint>

namespace kestrel::tools::cutter {

// A time split into the fields of a time box; `fraction` is hundredths (2 digits) or
// milliseconds (3 digits). Fields are never wrapped when read back.
struct TimeFields {
    int hours = 0, minutes = 0, seconds = 0, fraction = 0;
};

TimeFields splitTime(double seconds, int fractionDigits);
// Seconds * 1,000,000 of the fields, truncated toward zero.
int64_t fieldsToUs(const TimeFields& fields, int fractionDigits);

// Seconds of a float time to microseconds, computed in double and truncated toward zero.
int64_t secondsToUs(double seconds);

struct RangeUs {
    int64_t start_us = 0;
    int64_t stop_us = 0;
    bool operator==(const RangeUs&) const = default;
};

// About what a cut of kept_us out of a source of duration_s needs on disk: the source's bytes in
// proportion (0 when the source cannot be read).
int64_t expectedOutputBytes(const QString& source, double duration_s, int64_t kept_us);

// The selected file's range [s, e] (seconds) carried over to a file of duration d: the same
// times where they fit, else the same length ending at the file's end, else the whole file.
RangeUs rangeAppliedTo(double s, double e, double d);

}  // namespace kestrel::tools::cutter
