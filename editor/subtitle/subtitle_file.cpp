#include "editor/subtitle/subtitle_file.h"

#include "session/edit/subtitle_file_check.h"

namespace kestrel::editor {

SubtitleCheck checkSubtitleFile(const QString& path) {
    const QString refusal = kestrel::session::subtitleRefusalKey(path);
    return {refusal.isEmpty(), refusal};
}

}  // namespace kestrel::editor
