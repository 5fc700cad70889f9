#pragma once
// The watermark panel's time groups: hours, minutes, seconds and hundredths of a second, each
// written with two digits (hours may take more). Written and read back in the same unit.
#include <QStringList>

namespace kestrel::editor {

struct HundredthsTime {
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
};

HundredthsTime splitHundredths(double seconds);
// Four texts: "%02i" each.
QStringList hundredthsTexts(double seconds);
// hours x 3600 + minutes x 60 + seconds + hundredths / 100, from the integer value of each text.
double secondsFromHundredthsTexts(const QString& hours, const QString& minutes, const QString& seconds,
                                  const QString& hundredths);

// Limit of one field when stepped: 0..99 for the hundredths field, else 0..59.
int steppedFieldValue(int value, int delta, bool isFractionField);

}  // namespace kestrel::editor
