#pragma once
// Bringing files into a tool window: the open panel with the media extensions the tools take,
// and the probe of each chosen file into a job record, with the files that could not be used
// named together with the reason.
#include <QList>
#include <QString>
#include <QStringList>

#include "model/simple_data.h"

namespace kestrel::tools::shared {

// The extensions the cutters and the joiner offer in their open panel: the 39 of the media
// input, and WebM (other types may still be chosen).
QStringList mediaFileExtensions();

// Runs the open panel; an empty list when it was cancelled.
QStringList chooseMediaFiles(bool multiple);

struct RefusedFile {
    QString name;    // last path component
    QString reason;  // localised
};

struct ProbedFiles {
    QList<kestrel::model::SimpleDataPtr> accepted;  // in the order given
    QList<RefusedFile> refused;
};

// Probes every path. With `rangeCoversFile` a record's cut range starts as the whole file.
ProbedFiles probeMediaFiles(const QStringList& paths, bool rangeCoversFile);

// Why a path gives no record: missing, a folder, empty, unreadable, or no media the engine reads.
QString refusalReason(const QString& path);

// The alert text for refused files: the "nonsupportfilesstringValue" line, then one line per
// file with its reason.
QString refusedFilesMessage(const QList<RefusedFile>& refused);

}  // namespace kestrel::tools::shared
