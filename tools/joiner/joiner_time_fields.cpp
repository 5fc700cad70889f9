#include "tools/joiner/joiner_time_fields.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace kestrel::tools::joiner {
namespace {

// A hundredth of a second less would still read as the same field value.
constexpr double kSlack = 1e-6;

}  // namespace

TimeFields splitTime(double t) {
    if (!std::isfinite(t) || t < 0) t = 0;
    TimeFields f;
    const double whole = std::floor(t + kSlack);
    const int64_t s = static_cast<int64_t>(whole);
    f.hours = static_cast<int>(s / 3600);
    f.minutes = static_cast<int>((s % 3600) / 60);
    f.seconds = static_cast<int>(s % 60);
    f.hundredths = std::clamp(static_cast<int>((t - whole + kSlack) * 100), 0, 99);
    return f;
}

double readTime(const TimeFields& f) { return f.hours * 3600.0 + f.minutes * 60.0 + f.seconds + f.hundredths / 100.0; }

int fieldValue(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d{1,6})"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString fieldText(int value) { return QString::asprintf("%02i", value); }

RangeProblem checkStart(double start, double end) {
    if (start < 0) return RangeProblem::StartBelowZero;
    if (start >= end) return RangeProblem::StartAfterEnd;
    return RangeProblem::None;
}

RangeProblem checkEnd(double start, double end, double duration) {
    if (duration > 0 && end > duration + 0.005) return RangeProblem::EndAfterDuration;
    if (start >= end) return RangeProblem::EndBeforeStart;
    return RangeProblem::None;
}

QString problemKey(RangeProblem problem) {
    switch (problem) {
    case RangeProblem::StartBelowZero: return QStringLiteral("showmessageTime4");
    case RangeProblem::StartAfterEnd: return QStringLiteral("showmessageTime1");
    case RangeProblem::EndAfterDuration: return QStringLiteral("showmessageTime2");
    case RangeProblem::EndBeforeStart: return QStringLiteral("showmessageTime3");
    case RangeProblem::None: break;
    }
    return QString();
}

int64_t toMicroseconds(double seconds) { return static_cast<int64_t>(seconds * 1000000.0); }

void applyRangeToAll(const QList<kestrel::model::SimpleDataPtr>& clips, const kestrel::model::SimpleDataPtr& selected,
                     double start, double end) {
    const double length = end - start;
    for (const kestrel::model::SimpleDataPtr& clip : clips) {
        if (!clip || clip == selected) continue;
        const double d = clip->sourceData.duration;
        double s, e;
        if (length > d) {
            s = 0, e = d;
        } else if (end > d) {
            s = d - length, e = d;
        } else {
            s = std::min(start, d), e = std::min(end, d);
        }
        clip->cutTimeRange_start = toMicroseconds(s);
        clip->cutTimeRange_stop = toMicroseconds(e);
        if (selected) clip->isTrimFanxuan = selected->isTrimFanxuan;
    }
}

}  // namespace kestrel::tools::joiner
