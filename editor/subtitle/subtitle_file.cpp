#include "editor/subtitle/subtitle_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace kestrel::editor {

namespace {

constexpr qint64 kLargestSubtitleFile = 64 * 1024 * 1024;

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < static_cast<qsizetype>(mark.size())) return false;
    qsizetype i = 0;
    for (unsigned char b : mark)
        if (static_cast<unsigned char>(bytes[i++]) != b) return false;
    return true;
}

bool isWellFormedUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool hasSrtCue(const QString& text) {
    static const QRegularExpression cue(
        QStringLiteral(R"(\d{1,2}:\d{2}:\d{2}[,.]\d{1,3}\s*-->\s*\d{1,2}:\d{2}:\d{2}[,.]\d{1,3})"));
    return cue.match(text).hasMatch();
}

bool hasAssCue(const QString& text) {
    static const QRegularExpression events(QStringLiteral(R"(^\s*\[Events\]\s*$)"),
                                           QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dialogue(QStringLiteral(R"(^\s*Dialogue\s*:)"), QRegularExpression::MultilineOption);
    return events.match(text).hasMatch() && dialogue.match(text).hasMatch();
}

}  // namespace

SubtitleTextEncoding detectSubtitleEncoding(const QByteArray& bytes) {
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) return SubtitleTextEncoding::Utf8Bom;
    if (startsWith(bytes, {0xFF, 0xFE})) return SubtitleTextEncoding::Utf16LE;
    if (startsWith(bytes, {0xFE, 0xFF})) return SubtitleTextEncoding::Utf16BE;
    return isWellFormedUtf8(bytes) ? SubtitleTextEncoding::Utf8 : SubtitleTextEncoding::Legacy;
}

QString decodeSubtitleText(const QByteArray& bytes) {
    switch (detectSubtitleEncoding(bytes)) {
    case SubtitleTextEncoding::Utf8: return QString::fromUtf8(bytes);
    case SubtitleTextEncoding::Utf8Bom: return QString::fromUtf8(bytes.mid(3));
    case SubtitleTextEncoding::Utf16LE: return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    case SubtitleTextEncoding::Utf16BE: return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    case SubtitleTextEncoding::Legacy: break;
    }
    // Windows-1252 and Latin-1 agree on every letter; Latin-1 never fails to decode.
    return QString::fromLatin1(bytes);
}

SubtitleCheck checkSubtitleFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension != "srt" && extension != "ass" && extension != "ssa") return {false, "subtitleWrongTypeMessage"};
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {false, "subtitleUnreadableMessage"};
    if (file.size() > kLargestSubtitleFile) return {false, "subtitleMalformedMessage"};
    const QString text = decodeSubtitleText(file.readAll());
    const bool hasCue = extension == "srt" ? hasSrtCue(text) : hasAssCue(text);
    if (!hasCue) return {false, "subtitleMalformedMessage"};
    return {true, {}};
}

bool isStyledSubtitleFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == QLatin1String("ass") || extension == QLatin1String("ssa");
}

}  // namespace kestrel::editor
