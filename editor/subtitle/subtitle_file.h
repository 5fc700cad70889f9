#pragma once
// Checks a subtitle file before the panel takes it, with the check the preview and the export
// make before they burn it in: the panel takes exactly what the export can draw.
#include <QString>

namespace kestrel::editor {

struct SubtitleCheck {
    bool ok = false;
    QString messageKey;  // strings key of what is wrong, when not ok
};

// Refuses unknown extensions, unreadable files, files too large or too deeply tagged to be drawn,
// and files without a cue; text in UTF-8, UTF-16 with its mark or a western encoding is read.
SubtitleCheck checkSubtitleFile(const QString& path);

// An "ass" or "ssa" file: it brings its own styles (fonts, colours, placement), which the panel's
// font, colour and position would not change (srt files take them).
bool isStyledSubtitleFile(const QString& path);

}  // namespace kestrel::editor
