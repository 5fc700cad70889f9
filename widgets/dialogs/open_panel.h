#pragma once
// The open panel every launcher runs. It goes through one replaceable function so tests can
// answer it with a path or a cancel; by default it is a (non-native) file dialog.
#include <QString>
#include <QStringList>
#include <functional>

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

}  // namespace kestrel::widgets
