#include "session/export/cut/cut_jobs.h"

#include <QDir>
#include <QFileInfo>

#include "engine/core/result_code.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/export/output_container.h"
#include "session/jobs/engine_runs.h"

namespace kestrel::session {

QList<CutRange> piecesOutside(CutRange removed, int64_t duration_us) {
    QList<CutRange> pieces;
    if (removed.wholeFile()) return pieces;
    if (removed.start_us > 0) pieces.append({0, std::min(removed.start_us, duration_us)});
    if (removed.stop_us < duration_us) pieces.append({std::max<int64_t>(removed.stop_us, 0), duration_us});
    QList<CutRange> kept;
    for (const CutRange& piece : pieces)
        if (!piece.empty() && !piece.wholeFile()) kept.append(piece);
    return kept;
}

CutJob* makeRecordCutJob(const kestrel::model::SimpleData& record, const QString& folder, QObject* parent) {
    const CutRange range{record.cutTimeRange_start, record.cutTimeRange_stop};
    const int64_t duration_us = int64_t(double(record.sourceData.duration) * 1000000.0);
    QList<CutRange> ranges;
    if (!record.isTrimFanxuan)
        ranges = {range.stop_us == 0 ? CutRange{} : range};  // no range set: the whole file
    else
        ranges = piecesOutside(range, duration_us);
    const QFileInfo source(record.path);
    return new CutJob(record.path, ranges, {folder, source.completeBaseName(), source.suffix()}, parent);
}

QString emptyCutMessage() { return services::localized(QStringLiteral("CutRangeEmptyMessage")); }

CutJob::CutJob(QString source, QList<CutRange> ranges, CutOutput output, QObject* parent)
    : Job(parent), source_(std::move(source)), output_(std::move(output)) {
    for (const CutRange& range : ranges)
        if (!range.empty()) ranges_.append(range);
}

void CutJob::begin() {
    if (ranges_.isEmpty()) {
        finishFailed(0, emptyCutMessage());
        return;
    }
    if (!QDir().mkpath(output_.folder)) {
        finishFailed(engine::toInt(engine::ResultCode::WriteFailed));
        return;
    }
    // The source's container where FFmpeg writes it, else the nearest one that does.
    output_.extension = writableOutputExtension(source_, output_.extension);
    outputPath_ = services::uniqueOutputPath(output_.folder, output_.baseName, output_.extension);
    ownOutput(outputPath_);
    if (ranges_.size() == 1)
        beginConvert(ranges_.first());
    else
        beginJoin();
}

// One range: a convert with no codec given keeps the source's codecs, copying packets where the
// range allows it unless re-encoding is forced.
void CutJob::beginConvert(const CutRange& range) {
    using engine::ResultCode;
    ConvertHandle handle = ConvertHandle::create();
    if (!handle) {
        finishFailed(0);
        return;
    }
    const QByteArray input = services::charValue(source_);
    const QByteArray output = services::charValue(outputPath_);
    // Each call's refusal is read as the cause it stands for.
    const auto refused = [this](int32_t r, ResultCode cause) {
        if (accepted(r)) return false;
        finishFailed(refusalCode(r, engine::toInt(cause)));
        return true;
    };
    if (refused(apiMediaConvertSetInputMedia(handle.get(), input.constData()), ResultCode::OpenFailed)) return;
    if (!range.wholeFile() &&
        refused(apiMediaConvertSetCutTime(handle.get(), range.start_us, range.stop_us), ResultCode::EmptyRange))
        return;
    if (volume_ != 1.0 && refused(apiMediaConvertSetMaineAudioVolume(handle.get(), volume_), ResultCode::BadArgument)) return;
    if (forceEncode_ && refused(apiMediaConvertSetForceEncode(handle.get(), 1), ResultCode::BadArgument)) return;
    if (refused(apiMediaConvertSetOutputPath(handle.get(), output.constData()), ResultCode::OutputExists)) return;
    runEngine(std::make_shared<ConvertRun>(std::move(handle)), 0, 1, [this](int32_t result) {
        if (runOutcome(result) == Outcome::Done)
            finishDone({outputPath_});
        else
            finishFailed(result);
    });
}

// Several ranges: one join of the source's ranges in the source's codecs. Each range starts and
// ends where asked and nothing between them slips in: the engine cuts each as a single range
// is cut (copying between key frames) and joins the pieces by copying, or codes them again
// where they cannot be copied or re-encoding is forced.
void CutJob::beginJoin() {
    JoinHandle handle = JoinHandle::create();
    if (!handle) {
        finishFailed(0);
        return;
    }
    const QByteArray input = services::charValue(source_);
    for (const CutRange& range : ranges_) {
        const int64_t clip = apiMediaJoinAddMediaClip(handle.get(), input.constData(), range.start_us, range.stop_us);
        if (!clipAdded(clip)) {
            finishFailed(engine::toInt(engine::ResultCode::OpenFailed));
            return;
        }
        if (volume_ != 1.0) {
            const int32_t r = apiMediaJoinSetAudioVolumn(handle.get(), clip, volume_);
            if (!accepted(r)) {
                finishFailed(r);
                return;
            }
        }
    }
    if (forceEncode_) {
        const int32_t r = apiMediaJoinSetForceEncode(handle.get(), 1);
        if (!accepted(r)) {
            finishFailed(r);
            return;
        }
    }
    const QByteArray output = services::charValue(outputPath_);
    const int32_t r = apiMediaJoinSetOutputPath(handle.get(), output.constData());
    if (!accepted(r)) {
        finishFailed(r);
        return;
    }
    runEngine(std::make_shared<JoinRun>(std::move(handle)), 0, 1, [this](int32_t result) {
        if (runOutcome(result) == Outcome::Done)
            finishDone({outputPath_});
        else
            finishFailed(result);
    });
}

}  // namespace kestrel::session
