#pragma once
// Which container an output keeps when it is to stay in its source's container (cuts, splits,
// "Original" reverses). The source's own extension is kept when FFmpeg writes that container;
// many extensions the open panels accept have no writer (a camcorder's .MOD and .TOD, a VCD's
// .DAT, .M2P, .TP, RealMedia, QuickTime's .QT, ...), and such an output goes to the nearest
// container that holds the same codecs: MPEG program streams to .mpg, transport streams to
// .ts, anything else to .mkv. The output is named with the extension it is written in.
#include <QString>

namespace kestrel::session {

// True when FFmpeg can write a file with this extension (any case).
bool hasContainerWriter(const QString& extension);

// The extension an output of sourcePath is written with when it is to keep `extension`
// (usually the source's own): `extension` as given when it can be written, else the nearest
// writable container by what the source holds ("mpg", "ts" or "mkv").
QString writableOutputExtension(const QString& sourcePath, const QString& extension);

// outputPath with its extension replaced by writableOutputExtension for sourcePath; a changed
// name is numbered by the never-overwrite rule when it is taken. Unchanged when writable.
QString writableOutputPath(const QString& sourcePath, const QString& outputPath);

}  // namespace kestrel::session
