#include "tools/cutter/batch_cut_run.h"

#include "services/language.h"
#include "session/export/cut/cut_jobs.h"
#include "session/jobs/job_queue.h"

namespace kestrel::tools::cutter {

QString failureText(const kestrel::session::JobResult& result) {
    if (!result.message.isEmpty()) return result.message;
    return QString::asprintf("error:%d", result.code);
}

BatchCutRun::BatchCutRun(QObject* parent) : QObject(parent) {
    queue_ = new kestrel::session::JobQueue(this);
    connect(queue_, &kestrel::session::JobQueue::jobStarted, this, &BatchCutRun::jobStarted);
    connect(queue_, &kestrel::session::JobQueue::jobFinished, this, &BatchCutRun::jobFinished);
}

BatchCutRun::~BatchCutRun() = default;

void BatchCutRun::start(const QList<kestrel::model::SimpleDataPtr>& records, const QString& folder) {
    if (running_ || records.isEmpty()) return;
    running_ = true;
    records_ = records;
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
        queue_->enqueue(job);
    }
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
        summary_.failures.append(record->name + QStringLiteral(": ") + failureText(result));
    }
    Q_EMIT fileEnded(row);
    if (queue_->idle()) {
        running_ = false;
        Q_EMIT finished(summary_);
    }
}

}  // namespace kestrel::tools::cutter
