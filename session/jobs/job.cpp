#include "session/jobs/job.h"

#include "platform/dispatch.h"
#include "session/jobs/engine_runs.h"

#include <QDebug>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace kestrel::session {

// What the job and its blocking worker share: the run in progress and the owned files, so the
// worker can tidy up after a job that is already gone.
struct Job::Shared {
    std::mutex mutex;
    std::shared_ptr<EngineRun> run;
    double runFrom = 0, runTo = 1;
    bool stopRequested = false;
    QStringList temporaries;
    QStringList outputs;

    void removeOwned(bool keepOutputs) {
        QStringList paths;
        {
            std::lock_guard lock(mutex);
            paths = temporaries;
            if (!keepOutputs) paths += outputs;
            temporaries.clear();
            outputs.clear();
        }
        for (const QString& path : paths)
            if (QFile::exists(path) && !QFile::remove(path)) qWarning() << "cannot remove" << path;
    }
};

namespace {

constexpr int kProgressIntervalMs = 200;

}  // namespace

Job::Job(QObject* parent) : QObject(parent), shared_(std::make_shared<Shared>()) {}

Job::~Job() {
    std::shared_ptr<EngineRun> run;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopRequested = true;
        run = shared_->run;
    }
    if (run) {
        // The worker removes the owned files once the run has returned.
        platform::dispatchGlobalAsync([run] { run->stop(); });
    } else if (!finished_) {
        shared_->removeOwned(false);
    }
}

bool Job::stopRequested() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->stopRequested;
}

void Job::start() {
    if (started_) return;
    started_ = true;
    if (stopRequested()) {
        finishStopped();
        return;
    }
    begin();
}

void Job::stop() {
    if (finished_) return;
    std::shared_ptr<EngineRun> run;
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->stopRequested) return;
        shared_->stopRequested = true;
        run = shared_->run;
    }
    if (!started_) return;  // start() finishes it stopped
    if (run)
        platform::dispatchGlobalAsync([run] { run->stop(); });  // the run's completion finishes
    else
        finishStopped();
}

void Job::runEngine(std::shared_ptr<EngineRun> run, double from, double to, std::function<void(int32_t)> done) {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->run = run;
        shared_->runFrom = from;
        shared_->runTo = to;
    }
    setProgress(from);
    if (!progressTimer_) {
        progressTimer_ = new QTimer(this);
        progressTimer_->setInterval(kProgressIntervalMs);
        connect(progressTimer_, &QTimer::timeout, this, &Job::pollProgress);
    }
    progressTimer_->start();
    QPointer<Job> self(this);
    std::shared_ptr<Shared> shared = shared_;
    platform::dispatchGlobalAsync([self, shared, run, done = std::move(done)] {
        const int32_t result = run->run();
        platform::dispatchMainAsync([self, shared, run, done, result] {
            bool stopped;
            {
                std::lock_guard lock(shared->mutex);
                if (shared->run == run) shared->run.reset();
                stopped = shared->stopRequested;
            }
            if (!self) {
                shared->removeOwned(false);
                return;
            }
            if (self->progressTimer_) self->progressTimer_->stop();
            if (self->finished_) return;
            if (stopped) {
                self->finishStopped();
                return;
            }
            done(result);
        });
    });
}

void Job::pollProgress() {
    std::shared_ptr<EngineRun> run;
    double from, to;
    {
        std::lock_guard lock(shared_->mutex);
        run = shared_->run;
        from = shared_->runFrom;
        to = shared_->runTo;
    }
    if (run) setProgress(from + (to - from) * run->progress());
}

void Job::setProgress(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (std::abs(fraction - progress_) < 0.001) return;
    progress_ = fraction;
    Q_EMIT progressChanged(progress_);
}

void Job::ownTemporary(const QString& path) {
    std::lock_guard lock(shared_->mutex);
    shared_->temporaries.append(path);
}

void Job::ownOutput(const QString& path) {
    std::lock_guard lock(shared_->mutex);
    shared_->outputs.append(path);
}

void Job::keepOutput(const QString& path) {
    std::lock_guard lock(shared_->mutex);
    shared_->outputs.removeAll(path);
}

void Job::finishDone(const QStringList& outputs) {
    JobResult result;
    result.outcome = Outcome::Done;
    result.code = 1;
    result.outputs = outputs;
    finish(std::move(result));
}

void Job::finishFailed(int32_t code, const QString& message) {
    JobResult result;
    result.outcome = Outcome::Failed;
    result.code = code;
    result.message = message;
    finish(std::move(result));
}

void Job::finishStopped() {
    JobResult result;
    result.outcome = Outcome::Stopped;
    result.code = kStoppedCode;
    finish(std::move(result));
}

void Job::finish(JobResult result) {
    if (finished_) return;
    finished_ = true;
    if (progressTimer_) progressTimer_->stop();
    shared_->removeOwned(result.done());
    if (result.done()) setProgress(1.0);
    result_ = std::move(result);
    Q_EMIT finished(result_);
}

}  // namespace kestrel::session
