#pragma once
// The engine jobs one export runs, in order, and how their progress shares the dialog's bar.
// A plain export is one convert phase. Removing the selected range converts the part before
// and the part after it into temporary files and joins them; an empty part is skipped, and a
// single remaining part is converted straight into the output.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "session/edit/edit_bindings.h"
#include "session/edit/edit_state.h"

namespace kestrel::session {

struct ExportPhase {
    enum Kind { Convert, Join };
    Kind kind = Convert;
    SourceCut cut;             // convert: the source range, none for the whole file
    QString output;
    bool temporary = false;   // removed when the export ends, whatever the outcome
    QStringList joinInputs;   // join: the files joined, in order
};

struct PhasePlan {
    bool ok = true;
    int code = 1;
    QString messageKey;
    std::vector<ExportPhase> phases;
};

// One convert of the state's trim range (the whole file when it has none) into output.
ExportPhase plainExportPhase(const EditState& state, const QString& output);

// The phases that keep what lies outside the state's trim range of a source lasting
// duration_us. A state without a range keeps the whole file; a range covering the whole file
// leaves nothing and fails with a message.
PhasePlan planRemovedRangeExport(const EditState& state, int64_t duration_us, const QString& output,
                                 const QString& beforePath, const QString& afterPath);

// Duration of a media file in µs as the transcoding engine reads it; 0 when it cannot.
int64_t mediaDurationUs(const QString& path);

// Progress of the whole export when phase `index` of `count` is `fraction` done.
double overallProgress(size_t index, size_t count, double fraction);

// Removes the files that exist; failures are logged.
void removeFiles(const QStringList& paths);

}  // namespace kestrel::session
