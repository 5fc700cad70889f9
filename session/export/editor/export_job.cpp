#include "session/export/editor/export_job.h"

#include "session/edit/edit_state_checks.h"

#include <QDir>
#include <QFileInfo>

#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/edit/edit_bindings.h"
#include "session/jobs/engine_runs.h"

namespace kestrel::session {

ExportJob::ExportJob(EditState edits, kestrel::model::SimpleData source, OutputChoice choice, QString outputFile,
                     QObject* parent)
    : Job(parent),
      edits_(std::move(edits)),
      source_(std::move(source)),
      choice_(std::move(choice)),
      outputFile_(std::move(outputFile)) {}

void ExportJob::failWith(const ConvertSetup& setup) {
    finishFailed(setup.code, setup.messageKey.isEmpty() ? QString() : services::localized(setup.messageKey));
}

void ExportJob::begin() {
    // Refused edits never reach the engine: a file without them would pass for the edited one.
    const QString refusal = editStateRefusal(edits_, source_);
    if (!refusal.isEmpty()) {
        failWith({false, 0, refusal});
        return;
    }
    const QFileInfo output(outputFile_);
    if (!QDir().mkpath(output.path())) {
        failWith({false, 0, QStringLiteral("EditorExportFolderUnusableMessage")});
        return;
    }
    ownOutput(outputFile_);
    if (!edits_.removeSelectedPart) {
        phases_ = {plainExportPhase(edits_, outputFile_)};
    } else {
        const QString folder = output.path();
        const QString base = output.completeBaseName();
        const QString extension = output.suffix();
        const QString before = services::uniqueOutputPath(folder, base + QStringLiteral("_befor"), extension);
        const QString after = services::uniqueOutputPath(folder, base + QStringLiteral("_behand"), extension);
        const PhasePlan plan = planRemovedRangeExport(edits_, mediaDurationUs(source_.path), outputFile_, before, after);
        if (!plan.ok) {
            failWith({false, plan.code, plan.messageKey});
            return;
        }
        phases_ = plan.phases;
        for (const ExportPhase& phase : phases_)
            if (phase.temporary) {
                partFiles_.append(phase.output);
                ownTemporary(phase.output);
            }
    }
    current_ = 0;
    startPhase();
}

void ExportJob::startPhase() {
    const ExportPhase& phase = phases_.at(static_cast<size_t>(current_));
    const double from = overallProgress(static_cast<size_t>(current_), phases_.size(), 0);
    const double to = overallProgress(static_cast<size_t>(current_), phases_.size(), 1);
    if (phase.kind == ExportPhase::Convert)
        startConvert(phase, from, to);
    else
        startJoin(phase, from, to);
}

void ExportJob::startConvert(const ExportPhase& phase, double from, double to) {
    ConvertHandle job = ConvertHandle::create();
    if (!job) return failWith({false, 0, QString()});
    int32_t rc = apiMediaConvertSetInputMedia(job.get(), source_.path.toUtf8().constData());
    if (!accepted(rc)) return failWith({false, rc, QString()});
    const ConvertSetup setup = configureConvert(job.get(), edits_, source_, choice_, phase.cut);
    if (!setup.ok) return failWith(setup);
    if (!accepted(rc = apiMediaConvertSetOutputPath(job.get(), phase.output.toUtf8().constData())))
        return failWith({false, rc, QString()});
    runEngine(std::make_shared<ConvertRun>(std::move(job)), from, to, [this](int32_t result) { phaseEnded(result); });
    Q_EMIT phaseStarted(current_);
}

void ExportJob::startJoin(const ExportPhase& phase, double from, double to) {
    JoinHandle job = JoinHandle::create();
    if (!job) return failWith({false, 0, QString()});
    int32_t rc = apiMediaJoinSetOutputPath(job.get(), phase.output.toUtf8().constData());
    if (!accepted(rc)) return failWith({false, rc, QString()});
    for (const QString& clip : phase.joinInputs)
        if (!clipAdded(apiMediaJoinAddMediaClip(job.get(), clip.toUtf8().constData(), 0, 0)))
            return failWith({false, 0, QString()});
    // Each part is a whole file the converts above wrote with the same settings, and a convert
    // copies packets only where its range is met exactly (otherwise it encodes), so the parts end
    // where the removed range begins and resumes: their streams are joined as they are, and no
    // frame of the removed range can come back.
    if (!accepted(rc = apiMediaJoinSetAudioCodec(job.get(), "copy"))) return failWith({false, rc, QString()});
    if (!accepted(rc = apiMediaJoinSetVideoCodec(job.get(), "copy"))) return failWith({false, rc, QString()});
    runEngine(std::make_shared<JoinRun>(std::move(job)), from, to, [this](int32_t result) { phaseEnded(result); });
    Q_EMIT phaseStarted(current_);
}

void ExportJob::phaseEnded(int32_t result) {
    switch (runOutcome(result)) {
    case Outcome::Stopped: finishStopped(); return;
    case Outcome::Failed: finishFailed(result); return;
    case Outcome::Done: break;
    }
    if (++current_ < phaseCount()) {
        startPhase();
        return;
    }
    finishDone({outputFile_});
}

}  // namespace kestrel::session
