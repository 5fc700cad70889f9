#include "tools/cutter/batch_cut_run.h"

#include "session/export/cut/cut_jobs.h"
#include "session/jobs/failure_reasons.h"
#include "session/jobs/job_queue.h"
#include "tools/cutter/cut_time.h"

namespace kestrel::tools::cutter {

namespace {

// About what the file's cut needs on disk: its kept part's share of the source.
int64_t keptBytes(const kestrel::model::SimpleData& record) {
    const double duration_s = record.sourceData.duration;
    const int64_t range_us = record.cutTimeRange_stop > 0 ? record.cutTimeRange_stop - record.cutTimeRange_start
                                                          : int64_t(duration_s * 1e6);
    const int64_t kept_us = record.isTrimFanxuan ? int64_t(duration_s * 1e6) - range_us : range_us;
    return expectedOutputBytes(record.path, duration_s, kept_us);
}

}  // namespace

BatchCutRun::BatchCutRun(QObject* parent) : QObject(parent) {
    queue_ = new kestrel::session::JobQueue(this);
    connect(queue_, &kestrel::session::JobQueue::jobStarted, this, &BatchCutRun::jobStarted);
    connect(queue_, &kestrel::session::JobQueue::jobFinished, this, &BatchCutRun::jobFinished);
    connect(queue_, &kestrel::session::JobQueue::drained, this, &BatchCutRun::drained);
}

BatchCutRun::~BatchCutRun() = default;

void BatchCutRun::start(const QList<kestrel::model::SimpleDataPtr>& records, const QString& folder) {
    if (running_ || records.isEmpty()) return;
    running_ = true;
    records_ = records;
    folder_ = folder;
    summary_ = {};
    jobs_.clear();
    Q_EMIT overallProgress(0);
    for (const kestrel::model::SimpleDataPtr& record : records_) {
        kestrel::session::Job* job = kestrel::session::makeRecordCutJob(*record, folder);
        jobs_.append(job);
        const int row = int(jobs_.size()) - 1;
        connect(job, &kestrel::session::Job::progressChanged, this, [this, row](double p) {
            const double n = double(records_.size());
            Q_EMIT fileProgress(row, p);
            Q_EMIT overallProgress((row + p) / n);
        });
    }
    // Every file is queued before the first starts, so a first file that fails at once leaves
    // the others in the run; the run ends when the queue has drained.
    queue_->enqueueAll(jobs_);
}

void BatchCutRun::stop() {
    if (!running_) return;
    summary_.stopped = true;
    queue_->stopAll();
}

void BatchCutRun::jobStarted(kestrel::session::Job* job) {
    const int row = int(jobs_.indexOf(job));
    if (row >= 0) Q_EMIT fileStarted(row);
}

void BatchCutRun::jobFinished(kestrel::session::Job* job, const kestrel::session::JobResult& result) {
    const int row = int(jobs_.indexOf(job));
    if (row < 0) return;
    jobs_[row] = nullptr;  // the queue deletes it
    const kestrel::model::SimpleDataPtr& record = records_.at(row);
    if (result.done()) {
        record->exportPath = result.outputs.value(0);
        summary_.outputs.append(result.outputs);
        Q_EMIT overallProgress(double(row + 1) / double(records_.size()));
    } else if (result.failed()) {
        const kestrel::session::FailureContext context{record->path, folder_, keptBytes(*record)};
        summary_.failures.append(kestrel::session::failureLine(record->name, kestrel::session::failureReason(result, context)));
    }
    Q_EMIT fileEnded(row);
}

void BatchCutRun::drained() {
    if (!running_) return;
    running_ = false;
    Q_EMIT finished(summary_);
}

}  // namespace kestrel::tools::cutter
