#pragma once
// Whether a file holds sound the editing engine can mix in: background music must.
#include <QString>

namespace kestrel::session {

// True when the file opens and has an audio stream with a sample rate.
bool hasSound(const QString& path);

}  // namespace kestrel::session
