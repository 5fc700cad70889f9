#pragma once
// Shows a file in the desktop file manager: the freedesktop FileManager1 interface over D-Bus
// selects it in its folder; where no file manager answers, the folder is opened instead.
#include <QString>

namespace exportkit {

// True when the request was handed to a file manager or the folder was opened.
bool revealInFileManager(const QString& filePath);

}  // namespace exportkit
