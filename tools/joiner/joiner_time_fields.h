#pragma once
// The joiner's cut range in time fields: a time split into hours, minutes, seconds and
// hundredths, read back from what the user typed, and the checks a range must pass before a
// clip takes it (each failure names the message the window shows).
#include <QList>
#include <QString>
#include <cstdint>

#include "model/simple_data.h"

namespace kestrel::tools::joiner {

struct TimeFields {
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
};

// floor(t) split into hours, minutes, seconds; hundredths of the fraction, truncated.
TimeFields splitTime(double seconds);
// hours x 3600 + minutes x 60 + seconds + hundredths / 100 (fields are never wrapped).
double readTime(const TimeFields& fields);
// A field's text as the number it begins with; 0 when it begins with none.
int fieldValue(const QString& text);
// "%02i"
QString fieldText(int value);

enum class RangeProblem {
    None,
    StartBelowZero,    // "showmessageTime4"
    StartAfterEnd,     // "showmessageTime1" (also a start equal to the end: nothing would be left)
    EndAfterDuration,  // "showmessageTime2"
    EndBeforeStart,    // "showmessageTime3"
};

// The problem of a start typed into the start fields; start and end in seconds.
RangeProblem checkStart(double start, double end);
// The problem of an end typed into the end fields; duration 0 when unknown (no check).
RangeProblem checkEnd(double start, double end, double duration);
// The localisation key of the message for a problem; empty for none.
QString problemKey(RangeProblem problem);

// Seconds to the stored microseconds: computed in double precision, truncated toward zero.
int64_t toMicroseconds(double seconds);

// The selected clip's range [start, end] (seconds) and mode given to every other clip, each
// fitted to its own duration: too long takes the whole clip, past the end moves back to end
// at the end, else the same times.
void applyRangeToAll(const QList<kestrel::model::SimpleDataPtr>& clips, const kestrel::model::SimpleDataPtr& selected,
                     double start, double end);

}  // namespace kestrel::tools::joiner
