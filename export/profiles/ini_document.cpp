#include "export/profiles/ini_document.h"

#include "platform/atomic_write.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace exportkit {
namespace {

QString withoutBlanks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t')) out.append(c);
    return out;
}

bool isComment(const QString& line) {
    return line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1String("//"));
}

bool isSectionHeader(const QString& line) { return line.startsWith(QLatin1Char('[')) && line.contains(QLatin1Char(']')); }

bool isHeaderOf(const QString& line, const QString& section) {
    return line.startsWith(QLatin1Char('[') + section + QLatin1Char(']'));
}

}  // namespace

bool IniDocument::load(const QString& path) {
    lines_.clear();
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaximumBytes) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    parse(file.read(kMaximumBytes));
    return true;
}

void IniDocument::parse(const QByteArray& bytes) {
    lines_.clear();
    crlf_ = bytes.contains("\r\n") || !bytes.contains('\n');
    QByteArray body = bytes;
    // A UTF-8 byte order mark is not part of the first line.
    if (body.startsWith("\xEF\xBB\xBF")) body.remove(0, 3);
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype end = body.indexOf('\n', start);
        if (end < 0) end = body.size();
        QByteArray line = body.mid(start, end - start);
        if (line.endsWith('\r')) line.chop(1);
        lines_.append(QString::fromUtf8(line));
        start = end + 1;
    }
}

int IniDocument::findKeyLine(const QString& section, const QString& key) const {
    const QString wanted = withoutBlanks(key);
    if (wanted.isEmpty()) return -1;
    bool inSection = false;
    for (int i = 0; i < lines_.size(); ++i) {
        const QString& line = lines_[i];
        if (isSectionHeader(line)) {
            inSection = isHeaderOf(line, section);
            continue;
        }
        if (!inSection || isComment(line)) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        if (withoutBlanks(line.left(eq)) == wanted) return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const int index = findKeyLine(section, key);
    if (index < 0) return std::nullopt;
    const QString& line = lines_[index];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1);
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const int index = findKeyLine(section, key);
    if (index >= 0) {
        const QString& line = lines_[index];
        lines_[index] = line.left(line.indexOf(QLatin1Char('=')) + 1) + value;
        return;
    }
    int header = -1;
    for (int i = 0; i < lines_.size(); ++i)
        if (isHeaderOf(lines_[i], section)) { header = i; break; }
    if (header < 0) {
        lines_.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines_.append(key + QLatin1Char('=') + value);
        return;
    }
    // After the section's last non-blank line, before the next header.
    int insertAt = header + 1;
    for (int i = header + 1; i < lines_.size() && !isSectionHeader(lines_[i]); ++i)
        if (!lines_[i].trimmed().isEmpty()) insertAt = i + 1;
    lines_.insert(insertAt, key + QLatin1Char('=') + value);
}

bool IniDocument::save(const QString& path, bool replace, QString* error) const {
    if (!replace && QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("file exists: %1").arg(path);
        return false;
    }
    // Written beside the target and renamed at the end: a failure (a full disk) leaves no half file.
    const QByteArray end = lineEnd().toUtf8();
    QByteArray text;
    for (const QString& line : lines_) text += line.toUtf8() + end;
    return platform::writeFileAtomically(path, text, error);
}

QString ReadProfileValue(const QString& section, const QString& key, const QString& path) {
    IniDocument document;
    if (!document.load(path)) {
        qDebug().noquote() << "no such profile file:" << path;
        return QString();
    }
    return document.value(section, key).value_or(QString());
}

}  // namespace exportkit
