#include "services/strings_file.h"

#include <QFile>
#include <QStringDecoder>

namespace services {

namespace {

// A cursor over the decoded text that keeps the current line for error reports.
class StringsReader {
public:
    explicit StringsReader(const QString& text) : text_(text) {}

    StringsParseResult parse() {
        QHash<QString, int> firstLine;
        while (skipSpaceAndComments()) {
            if (failed()) break;
            const int keyLine = line_;
            QString key;
            if (!readQuoted(&key, "a quoted key")) break;
            // A missing '=' or ';' is reported on the line of what it should follow.
            const int afterKeyLine = line_;
            if (!skipSpaceAndComments() || peek() != u'=') {
                line_ = afterKeyLine;
                fail("expected '=' after the key \"" + key + "\"");
                break;
            }
            ++pos_;
            QString value;
            if (!skipSpaceAndComments() || !readQuoted(&value, "a quoted value after '='")) {
                if (!failed()) fail("expected a quoted value after '='");
                break;
            }
            const int afterValueLine = line_;
            if (!skipSpaceAndComments() || peek() != u';') {
                if (!failed()) line_ = afterValueLine;
                if (!failed()) fail("expected ';' after the value of \"" + key + "\"");
                break;
            }
            ++pos_;
            if (firstLine.contains(key)) {
                line_ = keyLine;
                fail(QString("key \"%1\" defined twice (first on line %2)").arg(key).arg(firstLine.value(key)));
                break;
            }
            firstLine.insert(key, keyLine);
            result_.entries.push_back({key, value, keyLine});
        }
        return result_;
    }

private:
    QChar peek(qsizetype ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_.at(pos_ + ahead) : QChar();
    }
    bool atEnd() const { return pos_ >= text_.size(); }
    bool failed() const { return !result_.error.isEmpty(); }
    void fail(const QString& message) {
        if (failed()) return;
        result_.error = message;
        result_.errorLine = line_;
    }
    void advance() {
        if (text_.at(pos_) == u'\n') ++line_;
        ++pos_;
    }

    // Skips blanks and comments; false at the end of the text or after an error.
    bool skipSpaceAndComments() {
        while (!atEnd()) {
            const QChar c = peek();
            if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f') {
                advance();
            } else if (c == u'/' && peek(1) == u'*') {
                const int startLine = line_;
                pos_ += 2;
                while (!atEnd() && !(peek() == u'*' && peek(1) == u'/')) advance();
                if (atEnd()) {
                    line_ = startLine;
                    fail("comment is never closed");
                    return false;
                }
                pos_ += 2;
            } else if (c == u'/' && peek(1) == u'/') {
                while (!atEnd() && peek() != u'\n') ++pos_;
            } else {
                return true;
            }
        }
        return false;
    }

    bool readHexUnit(char16_t* unit) {
        if (pos_ + 4 > text_.size()) return false;
        bool ok = false;
        const uint value = QStringView(text_).mid(pos_, 4).toUInt(&ok, 16);
        if (!ok) return false;
        for (int i = 0; i < 4; ++i)
            if (!isxdigit(text_.at(pos_ + i).toLatin1())) return false;
        *unit = char16_t(value);
        pos_ += 4;
        return true;
    }

    bool readQuoted(QString* out, const char* what) {
        if (peek() != u'"') {
            fail(QString("expected %1").arg(what));
            return false;
        }
        const int startLine = line_;
        ++pos_;
        while (true) {
            if (atEnd()) {
                line_ = startLine;
                fail("quoted text is never closed");
                return false;
            }
            QChar c = peek();
            if (c == u'"') {
                ++pos_;
                break;
            }
            if (c == u'\r' && peek(1) == u'\n') {  // CRLF inside a value reads as LF
                ++pos_;
                continue;
            }
            if (c != u'\\') {
                out->append(c);
                advance();
                continue;
            }
            ++pos_;
            if (atEnd()) continue;
            c = peek();
            ++pos_;
            switch (c.unicode()) {
            case u'"': out->append(u'"'); break;
            case u'\\': out->append(u'\\'); break;
            case u'\'': out->append(u'\''); break;
            case u'n': out->append(u'\n'); break;
            case u't': out->append(u'\t'); break;
            case u'r': out->append(u'\r'); break;
            case u'0': out->append(QChar(0)); break;
            case u'U':
            case u'u': {
                char16_t unit = 0;
                if (!readHexUnit(&unit)) {
                    fail("\\U must be followed by four hexadecimal digits");
                    return false;
                }
                out->append(QChar(unit));
                break;
            }
            default:
                fail(QString("unknown escape \\%1").arg(c));
                return false;
            }
        }
        // Lone surrogates would turn into garbage when the text is encoded again.
        for (qsizetype i = 0; i < out->size(); ++i) {
            const QChar c = out->at(i);
            if (c.isHighSurrogate() && i + 1 < out->size() && out->at(i + 1).isLowSurrogate()) {
                ++i;
            } else if (c.isSurrogate()) {
                line_ = startLine;
                fail("\\U escapes form an unpaired surrogate");
                return false;
            }
        }
        return true;
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    StringsParseResult result_;
};

}  // namespace

QHash<QString, QString> StringsParseResult::toHash() const {
    QHash<QString, QString> table;
    table.reserve(qsizetype(entries.size()));
    for (const StringsEntry& entry : entries) table.insert(entry.key, entry.value);
    return table;
}

StringsParseResult parseStrings(const QByteArray& utf8) {
    QByteArray bytes = utf8;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        StringsParseResult bad;
        bad.error = "the file is not valid UTF-8";
        // Point at the line of the first bad byte; no UTF-8 sequence contains a newline byte.
        const QList<QByteArray> lines = bytes.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = lineDecoder.decode(lines.at(i));  // decoding happens on conversion
            Q_UNUSED(decoded);
            if (lineDecoder.hasError()) {
                bad.errorLine = int(i) + 1;
                break;
            }
        }
        return bad;
    }
    return StringsReader(text).parse();
}

StringsParseResult readStringsFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        StringsParseResult bad;
        bad.error = "cannot read the file: " + file.errorString();
        return bad;
    }
    return parseStrings(file.readAll());
}

QString quoteStringsText(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(u'"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': quoted.append(u"\\\""); break;
        case u'\\': quoted.append(u"\\\\"); break;
        case u'\n': quoted.append(u"\\n"); break;
        case u'\t': quoted.append(u"\\t"); break;
        case u'\r': quoted.append(u"\\r"); break;
        default:
            if (c.unicode() < 0x20)
                quoted.append(QString("\\U%1").arg(c.unicode(), 4, 16, QChar(u'0')));
            else
                quoted.append(c);
        }
    }
    quoted.append(u'"');
    return quoted;
}

QByteArray writeStrings(const std::vector<StringsEntry>& entries, const QString& headerComment) {
    QString out;
    if (!headerComment.isEmpty()) out += "/* " + QString(headerComment).replace("*/", "* /") + " */\n";
    for (const StringsEntry& entry : entries)
        out += quoteStringsText(entry.key) + " = " + quoteStringsText(entry.value) + ";\n";
    return out.toUtf8();
}

}  // namespace services
