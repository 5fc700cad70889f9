#pragma once
// Shows a file in the desktop file manager: the freedesktop FileManager1 interface over D-Bus
// selects it in its folder; where no file manager answers, the folder is opened instead.
#include <QString>
#include <functional>

namespace exportkit {

// True when the request was handed to a file manager or the folder was opened.
bool revealInFileManager(const QString& filePath);
// Opens the folder itself in the file manager (the output-folder buttons).
bool openFolderInFileManager(const QString& folderPath);

// Replaces the desktop for both calls (tests see what would be shown); an empty function
// restores it.
using FileManagerHandler = std::function<bool(const QString& path)>;
void setFileManagerHandler(FileManagerHandler handler);

}  // namespace exportkit
