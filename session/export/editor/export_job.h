#pragma once
// One export of an edited file: everything it needs is given when it is made (the edit state,
// the source's record, the output choice read from the format bar, the output file), so edits
// and choices changed while it runs do not reach it. A plain export is one convert; removing the
// selected part converts the part before and the part after it into temporaries and joins them
// (an empty part is skipped; a single part left is converted straight into the output). Each
// phase fills its share of the progress; temporaries (the parts) go on every outcome, the output unless the job ends done.
#include <QString>
#include <QStringList>
#include <vector>

#include "model/simple_data.h"
#include "session/edit/edit_state.h"
#include "session/export/editor/export_phases.h"
#include "session/export/output_choice.h"
#include "session/jobs/job.h"

namespace kestrel::session {

class ExportJob : public Job {
    Q_OBJECT
public:
    // outputFile: the file to write, a name nothing uses yet (services/output_name.h).
    ExportJob(EditState edits, kestrel::model::SimpleData source, OutputChoice choice, QString outputFile,
              QObject* parent = nullptr);

    const QString& outputFile() const { return outputFile_; }
    const EditState& edits() const { return edits_; }
    // Index of the running phase, -1 before the first and after the last.
    int currentPhase() const { return running() ? current_ : -1; }
    int phaseCount() const { return static_cast<int>(phases_.size()); }
    // The temporary parts of a remove-selected-part export (empty otherwise).
    const QStringList& partFiles() const { return partFiles_; }

Q_SIGNALS:
    // A phase's engine run has been handed to the worker.
    void phaseStarted(int phase);

protected:
    void begin() override;

private:
    void startPhase();
    void startConvert(const ExportPhase& phase, double from, double to);
    void startJoin(const ExportPhase& phase, double from, double to);
    void phaseEnded(int32_t result);
    void failWith(const ConvertSetup& setup);

    const EditState edits_;
    const kestrel::model::SimpleData source_;
    const OutputChoice choice_;
    const QString outputFile_;
    std::vector<ExportPhase> phases_;
    QStringList partFiles_;
    int current_ = -1;
};

}  // namespace kestrel::session
