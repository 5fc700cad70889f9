#pragma once
// The open panel every launcher runs. It goes through one replaceable function so tests can
// answer it with a path or a cancel; by default it is a (non-native) file dialog.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QFileDialog;

namespace kestrel::widgets {

struct OpenPanelRequest {
    QString message;
    QString cancelTitle;
    QString prompt;
    QStringList allowedFileTypes;  // extensions without dots; empty = any file
    QString directory;             // start folder
    bool allowsMultipleSelection = false;
    bool chooseFolders = false;     // one folder instead of files; new folders may be made
};

// The chosen paths; an empty list when the panel was cancelled.
using OpenPanelRunner = std::function<QStringList(const OpenPanelRequest&)>;

// Replaces the panel; an empty function restores the file dialog.
void setOpenPanelRunner(OpenPanelRunner runner);
QStringList runOpenPanel(const OpenPanelRequest& request);

// The request with the localised texts and the start folder every panel of the shell uses.
OpenPanelRequest standardOpenPanelRequest();

// The panel's filters for the allowed types, named in the current language by kind ("Video
// files (*.mp4 …)", "Audio files", "Pictures", "Subtitles"), each listing its plain extensions
// and then, in a second pair of parentheses the panel keeps hidden, the patterns that match them
// in any letter case. Several kinds start with one filter for all of them.
QStringList openPanelNameFilters(const QStringList& allowedFileTypes);

// Where a panel opens: the folder asked for, or the nearest folder above it that exists (a
// missing folder would otherwise be offered as a file name to open).
QString existingStartFolder(const QString& folder);

// The file dialog the panel runs for request, built but not shown.
std::unique_ptr<QFileDialog> makeFileDialog(const OpenPanelRequest& request);

}  // namespace kestrel::widgets
