#pragma once
// Base of every long operation a window starts: one or more blocking engine runs on the global
// queue, one after another, with a stop that never blocks the UI thread, progress read every
// 0.2 s and one finished outcome. A job owns the files it names: temporaries are removed on
// every outcome, outputs whenever the job did not end done, also when the job was destroyed
// while a run was still blocking.
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "session/jobs/engine_outcome.h"

class QTimer;

namespace kestrel::session {

class EngineRun;

struct JobResult {
    Outcome outcome = Outcome::Failed;
    int32_t code = 0;      // the failing engine code (kStoppedCode when stopped, 1 when done)
    QString message;       // a localised reason shown instead of the code, when set
    QStringList outputs;   // the files the job wrote, when done

    bool done() const { return outcome == Outcome::Done; }
    bool stopped() const { return outcome == Outcome::Stopped; }
    bool failed() const { return outcome == Outcome::Failed; }
};

class Job : public QObject {
    Q_OBJECT
public:
    explicit Job(QObject* parent = nullptr);
    // A running job is stopped; its worker still closes the engine handle once the run has
    // returned, and removes what the job owned.
    ~Job() override;

    // Main thread. Starts the job once; a job stopped before it started finishes stopped.
    void start();
    // Main thread. Asks the running engine call to stop (on the global queue); finished()
    // follows with Outcome::Stopped once it has returned. Nothing when not running.
    void stop();

    bool started() const { return started_; }
    bool running() const { return started_ && !finished_; }
    bool isFinished() const { return finished_; }
    bool stopRequested() const;
    // 0..1 of the whole job.
    double progress() const { return progress_; }
    const JobResult& result() const { return result_; }

Q_SIGNALS:
    // Throttled: at most every 0.2 s, and only when the value moved.
    void progressChanged(double fraction);
    // Once, on the main thread, after the owned files have been dealt with.
    void finished(const kestrel::session::JobResult& result);

protected:
    // Main thread, once, from start(): begins the first run, or finishes at once.
    virtual void begin() = 0;

    // Runs one blocking engine run on the global queue; its progress fills [from, to] of the
    // job's. `done` gets the run's result on the main thread, unless the job was stopped
    // meanwhile (it then finishes stopped by itself).
    void runEngine(std::shared_ptr<EngineRun> run, double from, double to, std::function<void(int32_t)> done);

    // Files removed when the job ends, whatever the outcome.
    void ownTemporary(const QString& path);
    // Files removed when the job ends other than done.
    void ownOutput(const QString& path);
    // An owned output that is complete and stays whatever the outcome (a finished piece).
    void keepOutput(const QString& path);

    void finishDone(const QStringList& outputs);
    void finishFailed(int32_t code, const QString& message = QString());
    void finishStopped();
    // Sets the progress now (between runs); clamps to 0..1.
    void setProgress(double fraction);

private:
    struct Shared;
    void finish(JobResult result);
    void pollProgress();

    std::shared_ptr<Shared> shared_;
    QTimer* progressTimer_ = nullptr;
    double progress_ = 0;
    bool started_ = false;
    bool finished_ = false;
    JobResult result_;
};

}  // namespace kestrel::session
