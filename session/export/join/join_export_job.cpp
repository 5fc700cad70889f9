#include "session/export/join/join_export_job.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "engine/core/result_code.h"
#include "engine/mediacore/media_join.h"
#include "services/help_class.h"
#include "services/output_name.h"
#include "session/jobs/engine_runs.h"

namespace kestrel::session {
namespace {

const int32_t kOpenFailed = kestrel::engine::toInt(kestrel::engine::ResultCode::OpenFailed);
const int32_t kEmptyRange = kestrel::engine::toInt(kestrel::engine::ResultCode::EmptyRange);
const int32_t kWriteFailed = kestrel::engine::toInt(kestrel::engine::ResultCode::WriteFailed);

// The output values in the order the joiner sends them; the first refusal ends the set-up.
int32_t applySettings(void* job, const JoinOutputSettings& s) {
    int32_t rc = apiMediaJoinSetAudioBitrate(job, s.audioKbps);
    if (!accepted(rc)) return rc;
    if (!s.acodec.isEmpty() && !accepted(rc = apiMediaJoinSetAudioCodec(job, s.acodec.toUtf8().constData()))) return rc;
    if ((s.channels != 0 || s.sampleRate != 0) && !accepted(rc = apiMediaJoinSetAudioEncodeContext(job, s.channels, s.sampleRate)))
        return rc;
    if (!s.vcodec.isEmpty() && !accepted(rc = apiMediaJoinSetVideoCodec(job, s.vcodec.toUtf8().constData()))) return rc;
    if (s.hasFrameSize() && !accepted(rc = apiMediaJoinSetVideoFrameSize(job, s.width, s.height))) return rc;
    if (s.fps.isSet() && !accepted(rc = apiMediaJoinSetVideoFps(job, s.fps.value()))) return rc;
    if (s.videoKbps > 0 && !accepted(rc = apiMediaJoinSetVideoBitrate(job, s.videoKbps))) return rc;
    return 1;
}

}  // namespace

JoinExportJob::JoinExportJob(QList<kestrel::model::SimpleDataPtr> clips, JoinOutputSettings settings, QString outputFolder,
                             QString baseName, QObject* parent)
    : Job(parent),
      pieces_(joinPieces(clips)),
      settings_(std::move(settings)),
      outputFolder_(std::move(outputFolder)),
      baseName_(std::move(baseName)) {}

void JoinExportJob::begin() {
    if (pieces_.empty()) return finishFailed(kEmptyRange);
    if (!QDir().mkpath(outputFolder_) || !QFileInfo(outputFolder_).isWritable()) return finishFailed(kWriteFailed);
    const QString base = baseName_.isEmpty() ? services::HelpClass::createFilename() : baseName_;
    outputPath_ = services::uniqueOutputPath(outputFolder_, base, settings_.extension);

    JoinHandle handle = JoinHandle::create();
    if (!handle) return finishFailed(kWriteFailed);
    int32_t rc = applySettings(handle.get(), settings_);
    if (!accepted(rc)) return finishFailed(rc);
    if (!accepted(rc = apiMediaJoinSetOutputPath(handle.get(), outputPath_.toUtf8().constData()))) return finishFailed(rc);
    for (const JoinPiece& piece : pieces_) {
        const int64_t id = apiMediaJoinAddMediaClip(handle.get(), piece.path.toUtf8().constData(), piece.start_us, piece.stop_us);
        if (!clipAdded(id)) return finishFailed(kOpenFailed);
        if (!accepted(rc = apiMediaJoinSetAudioVolumn(handle.get(), id, piece.volume))) return finishFailed(rc);
        // A transition the engine refuses leaves a plain cut; the join still runs.
        if (piece.transition > 0 &&
            !accepted(rc = apiMediaJoinSetTransition(handle.get(), id, piece.transition, piece.transition_us)))
            qWarning() << "transition refused:" << rc;
    }
    ownOutput(outputPath_);
    runEngine(std::make_shared<JoinRun>(std::move(handle)), 0.0, 1.0, [this](int32_t result) {
        if (runOutcome(result) != Outcome::Done) return finishFailed(result);
        if (!QFileInfo(outputPath_).isFile()) return finishFailed(kWriteFailed);
        finishDone({outputPath_});
    });
}

}  // namespace kestrel::session
