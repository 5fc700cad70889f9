#include "export/settings/setting_values.h"

#include "export/profiles/option_value.h"

#include <QRegularExpression>

namespace exportkit::settings {
namespace {

QStringList nonEmpty(const QStringList& pieces) {
    QStringList out;
    for (const QString& piece : pieces)
        if (!piece.isEmpty()) out.append(piece);
    return out;
}

QStringList braceItems(const QString& text) {
    const qsizetype open = text.indexOf(QLatin1Char('{'));
    const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
    if (open < 0 || close < 0) return {};
    return nonEmpty(text.mid(open + 1, close - open - 1).split(QLatin1Char(',')));
}

}  // namespace

std::optional<QStringList> resultContentStrForArr(const QString& raw) {
    QString value = raw;
    value.remove(QLatin1Char('"'));
    if (value.isEmpty()) return std::nullopt;
    if (value.contains(QLatin1Char('{')) && value.contains(QLatin1Char('}'))) {
        QString inner = value;
        inner.remove(QLatin1Char(' '));
        return braceItems(inner);
    }
    QString last = value.split(QLatin1Char(',')).last();
    last.remove(QLatin1Char(' '));
    if (last.isEmpty()) return std::nullopt;
    return QStringList{last};
}

std::optional<QString> resultSelectItemTitleForContentStr(const QString& raw) {
    QString value = raw;
    value.remove(QLatin1Char('"'));
    if (value.isEmpty()) return std::nullopt;
    qsizetype cut = value.indexOf(QLatin1String(",{"));
    if (cut < 0) cut = value.indexOf(QLatin1String(", {"));
    const QString part = cut < 0 ? value : value.left(cut);
    const QStringList partPieces = part.split(QLatin1Char(','));
    if (partPieces.size() >= 2) return partPieces.last();

    QStringList pieces;
    const bool closes = value.contains(QLatin1Char('}'));
    if (closes && value.contains(QLatin1String(", {")))
        pieces = value.left(value.indexOf(QLatin1String(", {"))).split(QLatin1Char(','));
    else if (closes && value.contains(QLatin1String(",{")))
        pieces = value.left(value.indexOf(QLatin1String(",{"))).split(QLatin1Char(','));
    else
        pieces = value.split(QLatin1Char(','));
    pieces = nonEmpty(pieces);
    if (!pieces.isEmpty() && !pieces.last().isEmpty()) return new_startAndendnospaceString(pieces.last());
    const QStringList items = braceItems(value);
    if (items.isEmpty()) return std::nullopt;
    return new_startAndendnospaceString(items.first());
}

QString numForStringValue(const QString& text) {
    static const QRegularExpression number(QStringLiteral("\\d+(\\.\\d*)?"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch()) return QStringLiteral("0");
    return QString::asprintf("%.2f", match.captured(0).toDouble());
}

}  // namespace exportkit::settings
