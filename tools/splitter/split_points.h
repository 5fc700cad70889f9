#pragma once
// Where the automatic modes put split points: fractions of the file, strictly between 0 and 1.
#include <QList>
#include <QString>

namespace kestrel::tools::splitter {

// The first number in a title such as "30 Secs" or "2.5  MB"; 0 when there is none.
double firstNumber(const QString& title);

// Pieces of length each (seconds or MB) out of total: at least two pieces.
QList<double> pointsForLength(double each, double total);

// count equal parts (2.5 parts give 0.4 and 0.8; one part or fewer gives none).
QList<double> pointsForEqualParts(double count);

// The values offered in the time list (5..60 s) or the size list (1..20 MB), with the quarter of
// the file added, ascending, each once.
QList<int> timeListValues(double durationSeconds);
QList<int> sizeListValues(double sizeMB);

}  // namespace kestrel::tools::splitter
