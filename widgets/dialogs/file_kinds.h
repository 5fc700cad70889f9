#pragma once
// The file kinds the open panels offer, and the test a chosen file must pass: its whole
// extension, lower-cased, is one of the allowed ones (".wm" is not ".wma"; "PHOTO.JPG" is a picture).
#include <QString>
#include <QStringList>

namespace kestrel::widgets {

// ".a,.b,.c" -> {"a", "b", "c"}: the first character dropped, split at ",.".
QStringList splitExtensionList(const QString& dottedList);

QStringList videoFileTypes();
QStringList audioFileTypes();
QStringList pictureFileTypes();
// Videos, then audio when allowed, then pictures when allowed.
QStringList openPanelFileTypes(bool allowPictures, bool allowAudio);

bool hasAllowedExtension(const QString& path, const QStringList& fileTypes);

// A file-dialog pattern that matches the extension in any letter case: "mp4" -> "*.[mM][pP]4".
QString caseInsensitivePattern(const QString& extension);

}  // namespace kestrel::widgets
