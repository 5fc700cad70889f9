#include "export/profiles/option_value.h"


namespace exportkit {
namespace {

QString withoutQuotes(const QString& value) {
    QString out = value;
    out.remove(QLatin1Char('"'));
    return out;
}

// Text before the first ",{", else before the first ", {", else the whole value.
QString selectionPart(const QString& value) {
    qsizetype cut = value.indexOf(QLatin1String(",{"));
    if (cut < 0) cut = value.indexOf(QLatin1String(", {"));
    return cut < 0 ? value : value.left(cut);
}

QString trimmedOrEmpty(const QString& text) { return new_startAndendnospaceString(text).value_or(QString()); }

}  // namespace

std::optional<QString> new_startAndendnospaceString(const QString& text) {
    if (text.isEmpty()) return QString();
    qsizetype first = 0;
    qsizetype last = text.size() - 1;
    while (first <= last && text[first] == QLatin1Char(' ')) ++first;
    if (first > last) return std::nullopt;
    while (text[last] == QLatin1Char(' ')) --last;
    return text.mid(first, last - first + 1);
}

std::optional<QString> resultSelectItemTitleForContentStr(const QString& raw) {
    const QString value = withoutQuotes(raw);
    if (value.isEmpty()) {
        return std::nullopt;
    }
    const bool opensList = value.contains(QLatin1String(",{")) || value.contains(QLatin1String(", {"));
    if (opensList && !value.contains(QLatin1Char('}'))) {
        // A list that never closes: the last non-blank comma piece of the whole value.
        const QStringList pieces = value.split(QLatin1Char(','));
        for (auto it = pieces.crbegin(); it != pieces.crend(); ++it) {
            const QString piece = trimmedOrEmpty(*it);
            if (!piece.isEmpty()) return piece;
        }
        return QString();
    }
    const QStringList pieces = selectionPart(value).split(QLatin1Char(','));
    if (pieces.size() >= 2) return pieces.last();
    return trimmedOrEmpty(pieces.first());
}

std::optional<QStringList> resultContentStrForArr(const QString& raw) {
    const QString value = withoutQuotes(raw);
    if (value.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype open = value.indexOf(QLatin1Char('{'));
    const qsizetype close = open < 0 ? -1 : value.indexOf(QLatin1Char('}'), open);
    if (open >= 0 && close > open) {
        QStringList items;
        for (const QString& item : value.mid(open + 1, close - open - 1).split(QLatin1Char(',')))
            if (!item.isEmpty()) items.append(item);
        return items;
    }
    const QString last = trimmedOrEmpty(value.split(QLatin1Char(',')).last());
    if (last.isEmpty()) return std::nullopt;
    return QStringList{last};
}

OptionValue parseOptionValue(const QString& value) {
    return {resultSelectItemTitleForContentStr(value), resultContentStrForArr(value).value_or(QStringList())};
}

}  // namespace exportkit
