#include "session/export/split/split_job.h"

#include "engine/mediacore/media_core.h"
#include "services/language.h"
#include "session/export/output_container.h"
#include "session/export/split/split_piece_end.h"
#include "session/jobs/engine_runs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel::session {
namespace {

// Less than this left of the source is no piece (a rounding remainder, not a frame).
constexpr int64_t kLeftoverUs = 2000;
// A cut end past the source: the engine then writes to the end of the file.
constexpr int64_t kToTheEndUs = std::numeric_limits<int64_t>::max() / 4;
// A re-encoded piece overruns its cap by the pictures still inside the encoder when the cap is
// reached; such a piece is written again, ending where the cap's share of its length lies.
constexpr double kCapTolerance = 1.02;
constexpr double kCapAim = 0.97;
constexpr int kCapRetries = 3;

}  // namespace

SplitJob::SplitJob(SplitPlan plan, QObject* parent) : Job(parent), plan_(std::move(plan)) {}

QString SplitJob::folderUnusableMessage() { return services::localized(QStringLiteral("SplitFolderUnusableMessage")); }

QString SplitJob::unreadableSourceMessage() { return services::localized(QStringLiteral("SplitSourceUnreadableMessage")); }

int SplitJob::pieceCountEstimate() const {
    if (plan_.pieceLimitBytes > 0 && sourceBytes_ > 0)
        return std::max<int>(pieceIndex() + 1, int(std::ceil(double(sourceBytes_) / double(plan_.pieceLimitBytes))));
    return int(plan_.endFractions.size());
}

void SplitJob::failWith(int32_t code, const QString& message) {
    finishFailed(code, message);
    // The run folder goes too when this run made it and nothing else is in it.
    if (madeFolder_) QDir().rmdir(plan_.folder);
}

void SplitJob::begin() {
    sourceEnd_us_ = mediaEndUs(plan_.sourcePath);
    sourceBytes_ = QFileInfo(plan_.sourcePath).size();
    if (sourceEnd_us_ <= 0) return failWith(0, unreadableSourceMessage());
    if (plan_.pieceLimitBytes <= 0 && plan_.endFractions.isEmpty()) return failWith(0, unreadableSourceMessage());
    // The source's container where FFmpeg writes it, else the nearest one that does.
    plan_.extension = writableOutputExtension(plan_.sourcePath, plan_.extension);
    const QDir folder(plan_.folder);
    if (!folder.exists()) {
        if (!QDir().mkpath(plan_.folder)) return failWith(0, folderUnusableMessage());
        madeFolder_ = true;
    }
    connect(this, &Job::finished, this, [this](const JobResult& result) {
        if (!result.done() && madeFolder_) QDir().rmdir(plan_.folder);
    });
    startPiece();
}

QString SplitJob::nextPiecePath() {
    const QDir folder(plan_.folder);
    for (;; ++nextNumber_) {
        const QString name = QStringLiteral("%1%2.%3").arg(plan_.baseName).arg(nextNumber_).arg(plan_.extension);
        if (!QFileInfo::exists(folder.filePath(name))) return folder.filePath(name);
    }
}

void SplitJob::startPiece() {
    startPieceUntil(0);
}

void SplitJob::startPieceUntil(int64_t sizeModeEnd_us) {
    const int64_t start_us = nextStart_us_;
    if (start_us >= sourceEnd_us_ - kLeftoverUs) {
        finishDone(pieces_);
        return;
    }
    // The end asked of this piece; pieces the previous one already covered are skipped.
    int64_t end_us = kToTheEndUs;
    double from = double(start_us) / double(sourceEnd_us_), to = 1.0;
    if (plan_.pieceLimitBytes <= 0) {
        while (fractionIndex_ < plan_.endFractions.size()) {
            const double fraction = plan_.endFractions.at(fractionIndex_);
            end_us = fraction >= 1.0 ? kToTheEndUs : int64_t(std::llround(fraction * double(sourceEnd_us_)));
            if (end_us > start_us + kLeftoverUs) break;
            ++fractionIndex_;
        }
        if (fractionIndex_ >= plan_.endFractions.size()) {
            finishDone(pieces_);
            return;
        }
        to = end_us == kToTheEndUs ? 1.0 : double(end_us) / double(sourceEnd_us_);
    } else if (sizeModeEnd_us > start_us) {
        end_us = sizeModeEnd_us;
        to = double(end_us) / double(sourceEnd_us_);
    } else if (sourceBytes_ > 0) {
        to = std::min(1.0, from + double(plan_.pieceLimitBytes) / double(sourceBytes_));
    }

    ConvertHandle handle = ConvertHandle::create();
    if (!handle) return failWith(0, unreadableSourceMessage());
    int32_t rc = apiMediaConvertSetInputMedia(handle.get(), plan_.sourcePath.toUtf8().constData());
    if (!accepted(rc)) return failWith(rc);
    if (plan_.pieceLimitBytes > 0 && !accepted(rc = apiMediaConvertSetLimitFileSize(handle.get(), plan_.pieceLimitBytes)))
        return failWith(rc);
    if (!accepted(rc = apiMediaConvertSetCutTime(handle.get(), start_us, end_us))) return failWith(rc);
    if (plan_.forceEncode && !accepted(rc = apiMediaConvertSetForceEncode(handle.get(), 1))) return failWith(rc);
    const QString path = nextPiecePath();
    if (!accepted(rc = apiMediaConvertSetOutputPath(handle.get(), path.toUtf8().constData()))) return failWith(rc);
    ownOutput(path);
    ++nextNumber_;
    runEngine(std::make_shared<ConvertRun>(std::move(handle)), from, to,
              [this, path, start_us](int32_t result) { pieceEnded(path, start_us, result); });
}

void SplitJob::pieceEnded(const QString& path, int64_t start_us, int32_t result) {
    if (runOutcome(result) != Outcome::Done) return failWith(result);
    const int64_t length_us = mediaEndUs(path);
    // A piece that holds nothing would never get the run to the end.
    if (length_us <= 0) return failWith(0, unreadableSourceMessage());
    const int64_t bytes = QFileInfo(path).size();
    if (plan_.pieceLimitBytes > 0 && bytes > plan_.pieceLimitBytes * kCapTolerance && capRetries_ < kCapRetries) {
        ++capRetries_;
        QFile::remove(path);
        --nextNumber_;
        const double share = double(plan_.pieceLimitBytes) * kCapAim / double(bytes);
        return startPieceUntil(start_us + std::max<int64_t>(1, int64_t(double(length_us) * share)));
    }
    capRetries_ = 0;
    // A finished piece stays, also when the run is stopped or fails later.
    keepOutput(path);
    pieces_.append(path);
    nextStart_us_ = plan_.pieceLimitBytes > 0 ? sizePieceEndUs(path, start_us, length_us) : start_us + length_us;
    if (plan_.pieceLimitBytes <= 0) ++fractionIndex_;
    startPiece();
}

// A piece the cap ended shows its last picture until the source's next one: the next piece
// starts there, also where pictures are held for different lengths.
int64_t SplitJob::sizePieceEndUs(const QString& path, int64_t start_us, int64_t length_us) const {
    const int64_t last_us = lastPictureShownUs(path);
    if (last_us < 0) return start_us + length_us;
    const int64_t next_us = firstPictureAfterUs(plan_.sourcePath, start_us + last_us);
    return next_us >= 0 ? next_us : sourceEnd_us_;
}

}  // namespace kestrel::session
