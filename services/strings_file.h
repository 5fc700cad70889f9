#pragma once
// Reader and writer of Apple-style ".strings" tables:
//     /* comment */  // comment
//     "Key" = "Value";
// Keys and values are quoted; escapes \" \\ \n \t \r \' \0 and \Uxxxx / \uxxxx (UTF-16 units, so
// a surrogate pair is written as two escapes). Files are UTF-8 (a leading BOM is skipped), LF or
// CRLF. Only Qt Core is used: the build-time strings merger compiles this file too.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace services {

struct StringsEntry {
    QString key;
    QString value;
    int line = 0;  // 1-based line of the key
};

struct StringsParseResult {
    std::vector<StringsEntry> entries;  // in file order
    QString error;                      // empty when the text parsed
    int errorLine = 0;                  // 1-based line of the first error
    bool ok() const { return error.isEmpty(); }
    QHash<QString, QString> toHash() const;
};

// Parses a whole table. Stops at the first error (bad syntax, bad escape, invalid UTF-8, a key
// given twice) and reports it with its line; entries read before it are kept.
StringsParseResult parseStrings(const QByteArray& utf8);
// Same for a file; an unreadable file is an error on line 0.
StringsParseResult readStringsFile(const QString& path);

// The text quoted and escaped so that parseStrings gives it back unchanged.
QString quoteStringsText(const QString& text);
// One table in canonical form: an optional header comment, then one "key" = "value"; per line.
QByteArray writeStrings(const std::vector<StringsEntry>& entries, const QString& headerComment = QString());

}  // namespace services
