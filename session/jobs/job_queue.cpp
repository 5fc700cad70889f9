#include "session/jobs/job_queue.h"

namespace kestrel::session {

JobQueue::JobQueue(QObject* parent) : QObject(parent) {}

JobQueue::~JobQueue() {
    // Deleting a job stops it; a waiting one never started.
    waiting_.clear();
    if (current_) {
        disconnect(current_, nullptr, this, nullptr);
        delete current_.data();
    }
}

void JobQueue::take(Job* job) {
    job->setParent(this);
    connect(job, &Job::finished, this, [this, job](const JobResult& result) { jobEnded(job, result); });
    waiting_.push_back(job);
}

void JobQueue::enqueue(Job* job) {
    if (!job) return;
    take(job);
    if (!current_) startNext();
}

void JobQueue::enqueueAll(const QList<Job*>& jobs) {
    for (Job* job : jobs)
        if (job) take(job);
    if (!current_) startNext();
}

void JobQueue::stopAll() {
    std::deque<QPointer<Job>> dropped;
    dropped.swap(waiting_);
    if (current_) current_->stop();
    for (const QPointer<Job>& job : dropped) {
        if (!job) continue;
        job->stop();
        job->start();  // a stopped job finishes stopped at once
    }
}

void JobQueue::startNext() {
    while (!current_ && !waiting_.empty()) {
        current_ = waiting_.front();
        waiting_.pop_front();
        if (!current_) continue;
        Q_EMIT jobStarted(current_);
        current_->start();  // may finish at once and start the next one
        return;
    }
}

void JobQueue::jobEnded(Job* job, const JobResult& result) {
    const bool wasCurrent = current_ == job;
    if (wasCurrent) current_ = nullptr;
    Q_EMIT jobFinished(job, result);
    job->deleteLater();
    if (!wasCurrent) return;
    if (waiting_.empty())
        Q_EMIT drained();
    else
        startNext();
}

}  // namespace kestrel::session
