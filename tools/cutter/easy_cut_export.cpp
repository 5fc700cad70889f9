#include "tools/cutter/easy_cut_export.h"

#include <QDir>
#include <QFileInfo>

#include "services/help_class.h"
#include "session/export/cut/cut_jobs.h"
#include "session/jobs/job_queue.h"
#include "tools/cutter/batch_cut_run.h"
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
}

void EasyCutExport::enqueue(kestrel::session::Job* job, int index, int count) {
    jobs_.append(job);
    connect(job, &kestrel::session::Job::progressChanged, this, [this, index, count](double p) {
        Q_EMIT progress((index + p) / double(count));
    });
    queue_->enqueue(job);
}

void EasyCutExport::startSeparate(const QString& source, const QList<kestrel::model::CutterTimeItem>& clips,
                                  const QString& proposedPath, bool forceEncode) {
    if (running_ || clips.isEmpty()) return;
    running_ = true;
    jobs_.clear();
    outcome_ = {};
    const QString folder = separateFilesFolder(source, proposedPath);
    outcome_.target = folder;
    const QString ext = QFileInfo(source).suffix();
    for (int i = 0; i < clips.size(); ++i) {
        auto* job = new CutJob(source, {clipRange(clips.at(i))}, {folder, clipFileBaseName(clips.at(i)), ext});
        job->setForceEncode(forceEncode);
        enqueue(job, i, int(clips.size()));
    }
}

void EasyCutExport::startMerged(const QString& source, const QList<kestrel::model::CutterTimeItem>& clips, double volume,
                                const QString& proposedPath, bool forceEncode) {
    if (running_ || clips.isEmpty()) return;
    running_ = true;
    jobs_.clear();
    outcome_ = {};
    QList<CutRange> ranges;
    for (const auto& clip : clips) ranges.append(clipRange(clip));
    const QFileInfo proposed(proposedPath);
    const QString base = QFileInfo(source).completeBaseName() + QLatin1Char('_') + proposed.completeBaseName();
    // Numbered like every other output: an export in the same second never replaces the first.
    auto* job = new CutJob(source, ranges, {proposed.path(), base, QFileInfo(source).suffix()});
    job->setVolume(volume);
    job->setForceEncode(forceEncode);
    enqueue(job, 0, 1);
}

void EasyCutExport::stop() {
    if (!running_) return;
    outcome_.kind = EasyExportOutcome::Stopped;
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
        outcome_.failure = failureText(result);
        queue_->stopAll();
    }
    if (!queue_->idle()) return;
    running_ = false;
    if (outcome_.kind == EasyExportOutcome::Done && outcome_.target.isEmpty()) outcome_.target = outcome_.outputs.value(0);
    Q_EMIT finished(outcome_);
}

}  // namespace kestrel::tools::cutter
