#pragma once
// Media time values as the preview player takes and returns them: a rational value/timescale.
// Engines work in int64 microseconds; conversions round to the nearest unit.
#include <cstdint>

namespace platform {

struct MediaTime {
    int64_t value = 0;
    int32_t timescale = 0;  // 0: invalid time

    bool isValid() const { return timescale > 0; }
    double seconds() const { return isValid() ? double(value) / double(timescale) : 0.0; }
    int64_t microseconds() const;

    static MediaTime make(int64_t value, int32_t timescale) { return {value, timescale}; }
    static MediaTime fromSeconds(double seconds, int32_t timescale = 1000000000);
    static MediaTime fromMicroseconds(int64_t us) { return {us, 1000000}; }
    static MediaTime zero() { return {0, 1}; }
    static MediaTime invalid() { return {0, 0}; }
};

// Compares two times exactly across timescales; invalid times sort before valid ones.
int compare(const MediaTime& a, const MediaTime& b);
inline bool operator==(const MediaTime& a, const MediaTime& b) { return compare(a, b) == 0; }
inline bool operator<(const MediaTime& a, const MediaTime& b) { return compare(a, b) < 0; }
inline bool operator<=(const MediaTime& a, const MediaTime& b) { return compare(a, b) <= 0; }
inline bool operator>(const MediaTime& a, const MediaTime& b) { return compare(a, b) > 0; }
inline bool operator>=(const MediaTime& a, const MediaTime& b) { return compare(a, b) >= 0; }

MediaTime add(const MediaTime& a, const MediaTime& b);
MediaTime subtract(const MediaTime& a, const MediaTime& b);

// Re-expresses a time in another timescale, rounding half away from zero.
MediaTime convertScale(const MediaTime& t, int32_t timescale);

}  // namespace platform
