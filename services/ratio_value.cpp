#include "services/language.h"

#include <QRegularExpression>
#include <QStringList>

namespace services {

namespace {

// The leading number of a text, as the platform's floatValue reads it: blanks skipped, trailing
// characters ignored, 0 when there is no number.
float leadingFloat(const QString& text) {
    static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toFloat() : 0.0f;
}

}  // namespace

double ratioValue(const QString& text) {
    const QStringList parts = text.split(u':');
    if (parts.size() != 2) return 0;
    const double height = leadingFloat(parts.at(1));
    // "16:0" would give infinity, which no caller can use as an aspect; treat it as no ratio.
    if (height == 0) return 0;
    return double(leadingFloat(parts.at(0))) / height;
}

}  // namespace services
