#pragma once
// Whether a subtitle file can be burnt in, asked through the engines' own check so that the
// subtitle panel takes exactly what the preview and the export will draw.
#include <QString>

namespace kestrel::session {

// Empty when the file can be burnt in; otherwise the strings key that says why not (its %1 is
// the file's name).
QString subtitleRefusalKey(const QString& path);

}  // namespace kestrel::session
