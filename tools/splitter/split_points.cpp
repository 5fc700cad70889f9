#include "tools/splitter/split_points.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace kestrel::tools::splitter {
namespace {

QList<int> withQuarter(QList<int> values, double total) {
    const int quarter = int(std::ceil(float(total) * 0.25f));
    if (quarter > 0 && !values.contains(quarter)) values.append(quarter);
    std::sort(values.begin(), values.end());
    return values;
}

}  // namespace

double firstNumber(const QString& title) {
    static const QRegularExpression number(QStringLiteral("(\\d+(?:\\.\\d+)?)"));
    const QRegularExpressionMatch match = number.match(title);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

QList<double> pointsForLength(double each, double total) {
    QList<double> points;
    if (!(each > 0) || !(total > 0)) return points;
    const double quotient = std::ceil(total / each);
    const int64_t pieces = std::isfinite(quotient) ? std::max<int64_t>(int64_t(quotient), 2) : 2;
    for (int64_t j = 1; j < pieces; ++j) {
        const double p = double(j) * each / total;
        if (p < 1.0) points.append(p);
    }
    return points;
}

QList<double> pointsForEqualParts(double count) {
    QList<double> points;
    if (!(count > 1)) return points;
    for (int j = 1; count > j; ++j) {
        const double p = j / count;
        if (p < 1.0) points.append(p);
    }
    return points;
}

QList<int> timeListValues(double durationSeconds) { return withQuarter({5, 10, 20, 30, 60}, durationSeconds); }

QList<int> sizeListValues(double sizeMB) { return withQuarter({1, 2, 3, 5, 8, 10, 20}, sizeMB); }

}  // namespace kestrel::tools::splitter
