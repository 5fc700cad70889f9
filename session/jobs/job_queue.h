#pragma once
// Runs jobs one after another on the main thread's terms: a job starts when the one before it
// has finished. The batch tools queue one job per file; a window's single export is a queue of
// one. The queue owns the jobs it was given and deletes each after its jobFinished signal.
#include <QList>
#include <QObject>
#include <QPointer>
#include <deque>

#include "session/jobs/job.h"

namespace kestrel::session {

class JobQueue : public QObject {
    Q_OBJECT
public:
    explicit JobQueue(QObject* parent = nullptr);
    // Running and waiting jobs are stopped; their workers tidy up after them.
    ~JobQueue() override;

    // Takes the job; it starts at once when the queue is idle.
    void enqueue(Job* job);
    // Takes every job, in order, before the first one starts: a run of several files is whole
    // even when its first job ends while it starts, and drained comes once, after the last.
    void enqueueAll(const QList<Job*>& jobs);
    // Stops the running job and drops the waiting ones (each finishes stopped, in order).
    void stopAll();

    Job* current() const { return current_; }
    int waitingCount() const { return static_cast<int>(waiting_.size()); }
    bool idle() const { return !current_ && waiting_.empty(); }

Q_SIGNALS:
    void jobStarted(kestrel::session::Job* job);
    // The job is deleted later, after this signal has been delivered.
    void jobFinished(kestrel::session::Job* job, const kestrel::session::JobResult& result);
    // The last queued job has finished.
    void drained();

private:
    void take(Job* job);
    void startNext();
    void jobEnded(Job* job, const JobResult& result);

    QPointer<Job> current_;
    std::deque<QPointer<Job>> waiting_;
};

}  // namespace kestrel::session
