#include "session/export/editor/export_phases.h"

#include "engine/mediacore/media_core.h"
#include "session/jobs/engine_handles.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace kestrel::session {

ExportPhase plainExportPhase(const EditState& state, const QString& output) {
    ExportPhase phase;
    phase.output = output;
    if (state.trimStop_us != 0) phase.cut = std::make_pair(state.trimStart_us, state.trimStop_us);
    return phase;
}

PhasePlan planRemovedRangeExport(const EditState& state, int64_t duration_us, const QString& output,
                                 const QString& beforePath, const QString& afterPath) {
    PhasePlan plan;
    const int64_t cutStart = state.trimStart_us;
    const int64_t cutStop = state.trimStop_us;
    if (cutStop <= cutStart) {
        // Nothing selected, nothing removed.
        plan.phases.push_back(plainExportPhase(EditState{}, output));
        return plan;
    }
    if (duration_us <= 0) {
        plan.ok = false;
        plan.code = -3;
        return plan;
    }
    std::vector<std::pair<int64_t, int64_t>> parts;
    if (cutStart > 0) parts.emplace_back(0, std::min(cutStart, duration_us));
    if (cutStop < duration_us) parts.emplace_back(cutStop, duration_us);
    if (parts.empty()) {
        plan.ok = false;
        plan.code = 0;
        plan.messageKey = QStringLiteral("RemoveWholeVideoMessage");
        return plan;
    }
    if (parts.size() == 1) {
        ExportPhase only;
        only.cut = parts.front();
        only.output = output;
        plan.phases.push_back(only);
        return plan;
    }
    const QString temporaries[2] = {beforePath, afterPath};
    ExportPhase join;
    join.kind = ExportPhase::Join;
    join.output = output;
    for (size_t i = 0; i < 2; ++i) {
        ExportPhase part;
        part.cut = parts[i];
        part.output = temporaries[i];
        part.temporary = true;
        plan.phases.push_back(part);
        join.joinInputs.append(temporaries[i]);
    }
    plan.phases.push_back(join);
    return plan;
}

int64_t mediaDurationUs(const QString& path) {
    const ProbeHandle media = openProbe(path.toUtf8().constData());
    if (!media) return 0;
    const int64_t duration = MediaGetDuration(media.get());
    return duration > 0 ? duration : 0;
}

double overallProgress(size_t index, size_t count, double fraction) {
    if (count == 0) return 0;
    return (static_cast<double>(index) + fraction) / static_cast<double>(count);
}

void removeFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path)) continue;
        if (!QFile::remove(path)) qWarning().noquote() << "cannot remove" << path;
    }
}

}  // namespace kestrel::session
