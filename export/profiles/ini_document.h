#pragma once
// The one reader and writer of the INI-like text files the program keeps: the profile index
// "pf.dat", output profiles (".pf") and layout files. Lines may end in LF or CR LF; the last
// line needs no line end. Unknown sections, keys and comments are kept as they stand, so a
// file read, changed and written back loses nothing.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace exportkit {

class IniDocument {
public:
    IniDocument() = default;

    // Settings files of this kind are a few hundred bytes; anything past this is not one.
    static constexpr qint64 kMaximumBytes = 1024 * 1024;

    // Reads a file; false (document left empty) when it cannot be opened, is not a regular file
    // or is larger than kMaximumBytes.
    bool load(const QString& path);
    void parse(const QByteArray& bytes);

    // Value of key in section: the text after the first "=" of the key line, unchanged. A key
    // line is one whose text before "=", with every space and tab removed, equals the key
    // (also stripped); lines beginning with "#" or "//" are comments. A key belongs to the
    // section whose header ("[name]" at the start of a line) came last before it.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Replaces the value of an existing key line, or appends "key=value" at the end of the
    // section (creating the section at the end of the document when it is missing).
    void setValue(const QString& section, const QString& key, const QString& value);

    // Writes every line followed by the document's line end. A file that already exists is
    // replaced only when replace is true. On failure error says why and no file is left half
    // written.
    bool save(const QString& path, bool replace, QString* error = nullptr) const;

    const QStringList& lines() const { return lines_; }
    void setLines(const QStringList& lines) { lines_ = lines; }
    // "\r\n" when the document read used CR LF, else "\n".
    QString lineEnd() const { return crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n"); }
    void setCrlf(bool crlf) { crlf_ = crlf; }

private:
    int findKeyLine(const QString& section, const QString& key) const;

    QStringList lines_;
    bool crlf_ = true;
};

// The profile reader every consumer calls once per key: the value, or the empty text when
// the file is missing or the key is absent.
QString ReadProfileValue(const QString& section, const QString& key, const QString& path);

}  // namespace exportkit
