#pragma once
// A batch cutter run: one cut job per file, one after another, each in its own mode, with the
// file's and the whole run's progress, a stop that ends the run and removes the unfinished
// file, and one summary at the end (every file done, some failed, or stopped). The run ends
// once, after its last file, whichever files failed on the way.
#include <QList>
#include <QObject>
#include <QStringList>

#include "model/simple_data.h"

namespace kestrel::session {
class Job;
class JobQueue;
struct JobResult;
}  // namespace kestrel::session

namespace kestrel::tools::cutter {

struct BatchRunSummary {
    bool stopped = false;
    QStringList outputs;        // in file order
    QStringList failures;       // "name: reason" of each file that failed, in file order
    bool allDone() const { return !stopped && failures.isEmpty(); }
};

class BatchCutRun : public QObject {
    Q_OBJECT
public:
    explicit BatchCutRun(QObject* parent = nullptr);
    ~BatchCutRun() override;

    // Starts cutting the records (shared with the window: their exportPath is written) into
    // the folder. Nothing when a run is already under way.
    void start(const QList<kestrel::model::SimpleDataPtr>& records, const QString& folder);
    // Stops the file being cut and drops the rest; finished follows once the file's job has
    // returned.
    void stop();
    bool running() const { return running_; }

Q_SIGNALS:
    void fileStarted(int row);
    void fileProgress(int row, double fraction);
    void overallProgress(double fraction);
    void fileEnded(int row);
    void finished(const kestrel::tools::cutter::BatchRunSummary& summary);

private:
    void jobStarted(kestrel::session::Job* job);
    void jobFinished(kestrel::session::Job* job, const kestrel::session::JobResult& result);
    void drained();

    kestrel::session::JobQueue* queue_ = nullptr;
    QList<kestrel::model::SimpleDataPtr> records_;
    QList<kestrel::session::Job*> jobs_;
    QString folder_;
    BatchRunSummary summary_;
    bool running_ = false;
};

}  // namespace kestrel::tools::cutter
