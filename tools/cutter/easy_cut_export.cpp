#include "tools/cutter/easy_cut_export.h"

#include <QDir>
#include <QFileInfo>

#include "services/help_class.h"
#include "session/export/cut/cut_jobs.h"
#include "session/jobs/job_queue.h"
#include "session/jobs/failure_reasons.h"
#include "tools/cutter/cut_time.h"

namespace kestrel::tools::cutter {

using kestrel::session::CutJob;
using kestrel::session::CutRange;

namespace {

CutRange clipRange(const kestrel::model::CutterTimeItem& clip) {
    return {secondsToUs(clip.start), secondsToUs(clip.end)};
}

}  // namespace

QString separateFilesFolder(const QString& sourcePath, const QString& proposedPath) {
    const QFileInfo proposed(proposedPath);
    return QDir(proposed.path()).filePath(QFileInfo(sourcePath).completeBaseName() + QLatin1Char('_') + proposed.completeBaseName());
}

QString clipFileBaseName(const kestrel::model::CutterTimeItem& clip) {
    return services::HelpClass::returnTimeToCutFileName(clip.start) + QLatin1Char('-') +
           services::HelpClass::returnTimeToCutFileName(clip.end);
}

EasyCutExport::EasyCutExport(QObject* parent) : QObject(parent) {
    queue_ = new kestrel::session::JobQueue(this);
    connect(queue_, &kestrel::session::JobQueue::jobStarted, this, [this](kestrel::session::Job* job) {
        const int index = int(jobs_.indexOf(job));
        if (index >= 0) Q_EMIT clipStarted(index);
    });
    connect(queue_, &kestrel::session::JobQueue::jobFinished, this, &EasyCutExport::jobFinished);
    connect(queue_, &kestrel::session::JobQueue::drained, this, &EasyCutExport::drained);
}

void EasyCutExport::begin(const QString& source, const QString& folder, const QList<kestrel::session::Job*>& jobs,
                          int64_t expectedBytes) {
    running_ = true;
    source_ = source;
    folder_ = folder;
    expectedBytes_ = expectedBytes;
    jobs_ = jobs;
    for (int i = 0; i < jobs_.size(); ++i) {
        const int count = int(jobs_.size());
        connect(jobs_.at(i), &kestrel::session::Job::progressChanged, this,
                [this, i, count](double p) { Q_EMIT progress((i + p) / double(count)); });
    }
    // Every clip is queued before the first starts: a first clip that fails at once ends the
    // export once, not once per clip.
    queue_->enqueueAll(jobs_);
}

void EasyCutExport::startSeparate(const kestrel::model::SimpleData& record, const QList<kestrel::model::CutterTimeItem>& clips,
                                  const QString& proposedPath, bool forceEncode) {
    if (running_ || clips.isEmpty()) return;
    const QString& source = record.path;
    const QString folder = separateFilesFolder(source, proposedPath);
    madeFolder_ = QFileInfo::exists(folder) ? QString() : folder;
    const QString ext = QFileInfo(source).suffix();
    QList<kestrel::session::Job*> jobs;
    int64_t kept_us = 0;
    for (const auto& clip : clips) {
        auto* job = new CutJob(source, {clipRange(clip)}, {folder, clipFileBaseName(clip), ext});
        job->setForceEncode(forceEncode);
        jobs.append(job);
        kept_us += clipRange(clip).lengthUs();
    }
    outcome_ = {};
    outcome_.target = folder;
    begin(source, folder, jobs, expectedOutputBytes(source, record.sourceData.duration, kept_us));
}

void EasyCutExport::startMerged(const kestrel::model::SimpleData& record, const QList<kestrel::model::CutterTimeItem>& clips,
                                double volume, const QString& proposedPath, bool forceEncode) {
    if (running_ || clips.isEmpty()) return;
    const QString& source = record.path;
    madeFolder_.clear();
    QList<CutRange> ranges;
    int64_t kept_us = 0;
    for (const auto& clip : clips) {
        ranges.append(clipRange(clip));
        kept_us += clipRange(clip).lengthUs();
    }
    const QFileInfo proposed(proposedPath);
    const QString base = QFileInfo(source).completeBaseName() + QLatin1Char('_') + proposed.completeBaseName();
    // Numbered like every other output: an export in the same second never replaces the first.
    auto* job = new CutJob(source, ranges, {proposed.path(), base, QFileInfo(source).suffix()});
    job->setVolume(volume);
    job->setForceEncode(forceEncode);
    outcome_ = {};
    begin(source, proposed.path(), {job}, expectedOutputBytes(source, record.sourceData.duration, kept_us));
}

void EasyCutExport::stop() {
    if (!running_) return;
    if (outcome_.kind == EasyExportOutcome::Done) outcome_.kind = EasyExportOutcome::Stopped;
    queue_->stopAll();
}

void EasyCutExport::jobFinished(kestrel::session::Job* job, const kestrel::session::JobResult& result) {
    const int index = int(jobs_.indexOf(job));
    if (index < 0) return;
    jobs_[index] = nullptr;
    if (result.done()) {
        outcome_.outputs.append(result.outputs);
    } else if (result.failed() && outcome_.kind != EasyExportOutcome::Failed) {
        // The first failure ends the export: later clips are not written.
        outcome_.kind = EasyExportOutcome::Failed;
        const kestrel::session::FailureContext context{source_, folder_, expectedBytes_};
        outcome_.failure =
            kestrel::session::failureLine(QFileInfo(source_).fileName(), kestrel::session::failureReason(result, context));
        queue_->stopAll();
    }
}

void EasyCutExport::drained() {
    if (!running_) return;
    running_ = false;
    // A folder this export made and left empty (stopped or failed before a clip was written).
    if (!madeFolder_.isEmpty() && QDir(madeFolder_).isEmpty()) QDir().rmdir(madeFolder_);
    if (outcome_.kind == EasyExportOutcome::Done && outcome_.target.isEmpty()) outcome_.target = outcome_.outputs.value(0);
    Q_EMIT finished(outcome_);
}

}  // namespace kestrel::tools::cutter
