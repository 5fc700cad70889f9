#pragma once
// The easy cutter's export: each clip to a file of its own in a new folder named after the
// source, or every clip joined into one file, with the clips' sound volume. One job per file,
// one after another, throttled progress over the whole export, a stop that removes the
// unfinished file, and one outcome, once, after the last job. The first failure ends the
// export; a folder made for it that holds nothing at the end goes.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "model/cutter_time_item.h"
#include "model/simple_data.h"

namespace kestrel::session {
class Job;
class JobQueue;
struct JobResult;
}  // namespace kestrel::session

namespace kestrel::tools::cutter {

struct EasyExportOutcome {
    enum Kind { Done, Stopped, Failed } kind = Done;
    QString failure;        // "source name: reason", shown for Failed
    QStringList outputs;    // files written
    QString target;         // the folder (separate files) or the file (merged)
};

// "<source folder>/<base>_<stamp>" for separate files and "<folder>/<base>_<stamp>.<ext>" merged,
// from the path the export dialog proposes ("<folder>/<stamp>.<ext>").
QString separateFilesFolder(const QString& sourcePath, const QString& proposedPath);
// The clip's file name without extension: start and end as "HHMMSS.mmm" joined by "-".
QString clipFileBaseName(const kestrel::model::CutterTimeItem& clip);

class EasyCutExport : public QObject {
    Q_OBJECT
public:
    explicit EasyCutExport(QObject* parent = nullptr);

    // The clips of the source's record, each to a file of its own in a new folder made from the
    // proposed path. With forceEncode every clip is encoded anew, no packet of the source copied
    // (the export dialog's re-encode box).
    void startSeparate(const kestrel::model::SimpleData& source, const QList<kestrel::model::CutterTimeItem>& clips,
                       const QString& proposedPath, bool forceEncode);
    // One file; volume 0..2 applies to every clip.
    void startMerged(const kestrel::model::SimpleData& source, const QList<kestrel::model::CutterTimeItem>& clips, double volume,
                     const QString& proposedPath, bool forceEncode);
    void stop();
    bool running() const { return running_; }

Q_SIGNALS:
    // The clip being written (separate files).
    void clipStarted(int index);
    void progress(double fraction);
    void finished(const kestrel::tools::cutter::EasyExportOutcome& outcome);

private:
    void begin(const QString& source, const QString& folder, const QList<kestrel::session::Job*>& jobs, int64_t expectedBytes);
    void jobFinished(kestrel::session::Job* job, const kestrel::session::JobResult& result);
    void drained();

    kestrel::session::JobQueue* queue_ = nullptr;
    QList<kestrel::session::Job*> jobs_;
    EasyExportOutcome outcome_;
    QString source_;
    QString folder_;
    QString madeFolder_;  // the separate files' folder when this export made it
    int64_t expectedBytes_ = 0;
    bool running_ = false;
};

}  // namespace kestrel::tools::cutter
