#pragma once
// The one rule every tool uses to name what it writes, so nothing is ever overwritten:
// "<folder>/<base>.<ext>", and while that exists "<folder>/<base>(2).<ext>", "(3)", ...
#include <QString>

namespace services {

// True when anything (file, folder, even a dangling link) stands at the path.
bool outputPathTaken(const QString& path);

// The first free path of the rule above. A trailing separator on the folder is ignored; an
// empty extension gives names without a dot. Only looks: the caller writes the file.
QString uniqueOutputPath(const QString& folder, const QString& base, const QString& ext);

}  // namespace services
