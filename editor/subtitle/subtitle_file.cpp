#include "editor/subtitle/subtitle_file.h"

#include "session/edit/subtitle_file_check.h"

#include <QFileInfo>

namespace kestrel::editor {

SubtitleCheck checkSubtitleFile(const QString& path) {
    const QString refusal = kestrel::session::subtitleRefusalKey(path);
    return {refusal.isEmpty(), refusal};
}

bool isStyledSubtitleFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == QLatin1String("ass") || extension == QLatin1String("ssa");
}

}  // namespace kestrel::editor
