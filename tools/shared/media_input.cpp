#include "tools/shared/media_input.h"

#include <QFile>
#include <QFileInfo>

#include "services/language.h"
#include "session/media/media_probe.h"
#include "widgets/dialogs/open_panel.h"

namespace kestrel::tools::shared {

using services::localized;

QStringList mediaFileExtensions() {
    return {"mov", "qt",  "mp4", "m4v", "flv", "ts",   "m2ts", "mts", "mkv",  "mka", "mpg", "mpeg", "mpa",
            "m2v", "mpv", "dat", "avi", "divx", "3gp", "3g2",  "mxf", "tp",   "trp", "nut", "h261", "h264",
            "mod", "tod", "wmv", "mp3", "mp2", "m4a",  "m4r",  "flac", "wav", "wma", "ogg", "aac",  "ac3",
            "webm"};
}

QStringList chooseMediaFiles(bool multiple) {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = mediaFileExtensions();
    request.allowsMultipleSelection = multiple;
    return kestrel::widgets::runOpenPanel(request);
}

QString refusalReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return localized(QStringLiteral("RefusedFileMissing"));
    if (info.isDir()) return localized(QStringLiteral("RefusedFileFolder"));
    if (info.size() == 0) return localized(QStringLiteral("RefusedFileEmpty"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return localized(QStringLiteral("RefusedFileUnreadable"));
    return localized(QStringLiteral("RefusedFileNotMedia"));
}

ProbedFiles probeMediaFiles(const QStringList& paths, bool rangeCoversFile) {
    ProbedFiles probed;
    const session::SavedOutputChoices choices = session::SavedOutputChoices::read();
    for (const QString& path : paths) {
        kestrel::model::SimpleDataPtr record = session::probeMediaFile(path, choices);
        // A file the engine opens but that holds no picture and no sound is of no use to a cut.
        if (record && record->sourceData.exist == 0 && record->sourceData.a_exist == 0) record.reset();
        if (record && !(record->sourceData.duration > 0)) {
            // One picture and nothing else (a one-frame video): it lasts no time to cut or join.
            const bool picture = record->sourceData.width > 0 && record->sourceData.height > 0;
            probed.refused.append({QFileInfo(path).fileName(),
                                   picture ? localized(QStringLiteral("RefusedFileSinglePicture")) : refusalReason(path)});
            continue;
        }
        if (!record) {
            probed.refused.append({QFileInfo(path).fileName(), refusalReason(path)});
            continue;
        }
        if (rangeCoversFile) record->cutTimeRange_stop = int64_t(double(record->sourceData.duration) * 1000000.0);
        probed.accepted.append(record);
    }
    return probed;
}

QString refusedFilesMessage(const QList<RefusedFile>& refused) {
    QStringList lines{localized(QStringLiteral("nonsupportfilesstringValue"))};
    for (const RefusedFile& file : refused) lines.append(file.name + QStringLiteral(": ") + file.reason);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace kestrel::tools::shared
