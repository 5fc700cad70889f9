#include "tools/collage/split_type_reader.h"

#include "services/language.h"

#include <QFile>
#include <QRegularExpression>

namespace kestrel::tools::collage {

namespace {

QString withoutBlanks(QString text) {
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\t'));
    return text;
}

bool isComment(const QByteArray& line) {
    return line.startsWith('#') || line.startsWith(';') || line.startsWith("//");
}

// Leading blanks skipped, then the longest decimal number; 0 when there is none.
double leadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

}  // namespace

QString readProfileValue(const QString& section, const QString& key, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QByteArray header = "[" + section.toUtf8() + "]";
    const QString wanted = withoutBlanks(key);
    bool inside = false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.startsWith('[')) {
            inside = line.startsWith(header);
            continue;
        }
        if (!inside || isComment(line)) continue;
        const int equals = line.indexOf('=');
        if (equals < 0) continue;
        if (withoutBlanks(QString::fromUtf8(line.left(equals))) == wanted)
            return QString::fromUtf8(line.mid(equals + 1));
    }
    return QString();
}

Layout parseLayout(const QString& value) {
    QString text = value;
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    Layout cells;
    for (QString piece : text.split(QLatin1Char(';'))) {
        piece.remove(QLatin1Char('('));
        piece.remove(QLatin1Char(')'));
        if (piece.trimmed().isEmpty()) continue;
        const QStringList numbers = piece.split(QLatin1Char(','));
        auto at = [&](int i) { return i < numbers.size() ? leadingNumber(numbers[i]) / 100.0 : 0.0; };
        cells.append(session::CellEdges{at(0), at(1), at(2), at(3)});
    }
    return cells;
}

QList<Layout> readLayouts(const QString& path) {
    QList<Layout> layouts;
    for (int i = 1; i <= kLayoutCount; ++i)
        layouts.append(parseLayout(readProfileValue(QStringLiteral("SplitType"), QStringLiteral("Type%1").arg(i), path)));
    return layouts;
}

int firstDamagedLayout(const QList<Layout>& layouts) {
    for (int i = 0; i < layouts.size(); ++i) {
        if (layouts[i].isEmpty()) return i + 1;
        for (const session::CellEdges& c : layouts[i])
            if (!(c.left >= 0 && c.top >= 0 && c.right <= 1 && c.bottom <= 1 && c.left < c.right && c.top < c.bottom))
                return i + 1;
    }
    return 0;
}

QString splitTypeFilePath() { return services::Language::resourceBundlePath() + QStringLiteral("/SplitType.ini"); }

}  // namespace kestrel::tools::collage
