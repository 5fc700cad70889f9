#pragma once
// Checks a subtitle file before the panel takes it: it must be readable, in a known encoding and
// hold at least one cue in the form its extension names ("srt", or "ass"/"ssa").
#include <QString>

namespace kestrel::editor {

enum class SubtitleTextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Legacy };

// UTF-8 or UTF-16 when a byte-order mark says so, UTF-8 when the bytes are well-formed UTF-8,
// else the legacy single-byte encoding of western subtitle files.
SubtitleTextEncoding detectSubtitleEncoding(const QByteArray& bytes);
// The file's text, decoded by that rule; line ends are left as they are (LF or CRLF).
QString decodeSubtitleText(const QByteArray& bytes);

struct SubtitleCheck {
    bool ok = false;
    QString messageKey;  // strings key of what is wrong, when not ok
};

// Refuses unknown extensions, unreadable or empty files, and files without a cue.
SubtitleCheck checkSubtitleFile(const QString& path);

// An "ass" or "ssa" file: it brings its own styles (fonts, colours, placement), which the panel's
// font, colour and position would not change (srt files take them).
bool isStyledSubtitleFile(const QString& path);

}  // namespace kestrel::editor
