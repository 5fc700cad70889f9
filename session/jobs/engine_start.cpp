#include "session/jobs/engine_start.h"

#include "engine/core/ff_log.h"
#include "engine/core/outputs_in_progress.h"
#include "services/folders.h"

#include <QDir>
#include <QLoggingCategory>

namespace kestrel::session {

namespace {

Q_LOGGING_CATEGORY(ffmpegLog, "kestrel.ffmpeg", QtInfoMsg)

void logEngineLine(int av_level, const char* line) {
    const QString text = QString::fromUtf8(line).trimmed();
    if (text.isEmpty()) return;
    if (av_level <= 16) qCWarning(ffmpegLog).noquote() << text;   // AV_LOG_ERROR and worse
    else qCInfo(ffmpegLog).noquote() << text;
}

}  // namespace

QString outputsInProgressFolder() {
    const QString folder = ::services::FileManager::sharedManager().customCachesMainPath() + "/OutputsInProgress";
    return QDir().mkpath(folder) ? folder : QString();
}

void startEngines() {
    engine::setEngineLogSink(&logEngineLine);
    const QString folder = outputsInProgressFolder();
    if (folder.isEmpty()) return;
    engine::removeOutputsOfEndedProcesses(folder.toStdString());
    engine::setOutputsInProgressFolder(folder.toStdString());
}

}  // namespace kestrel::session
