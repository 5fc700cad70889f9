#pragma once
// What kind of input the reverse tool was given, by its whole extension (".wm" is not ".wma").
#include <QString>

namespace kestrel::tools::reverse {

enum class InputKind { Video, Audio, Other };

InputKind inputKind(const QString& path);

// "%02d:%02d:%02d.%03d" of microseconds.
QString formatTime(int64_t microseconds);

// Hours, minutes, seconds and milliseconds fields read back into microseconds.
int64_t fieldsToMicroseconds(int hours, int minutes, int seconds, int milliseconds);

}  // namespace kestrel::tools::reverse
