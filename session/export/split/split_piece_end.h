#pragma once
// Where a written file actually ends: the end of its last packet on the main stream (video when
// there is one, else sound), measured from the file's own start. A convert under a size cap may
// stop one packet past the cap, so the next piece of a split starts from this, not from the
// time that was asked.
#include <QString>
#include <cstdint>

namespace kestrel::session {

// Microseconds from the first to the end of the last packet of the main stream; -1 when the
// file cannot be read or holds no packet.
int64_t mediaEndUs(const QString& path);

}  // namespace kestrel::session
