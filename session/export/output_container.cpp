#include "session/export/output_container.h"

#include <QFileInfo>

#include "engine/core/media_input.h"
#include "engine/core/media_output.h"
#include "services/output_name.h"

namespace kestrel::session {
namespace {

// The nearest writable container for what the source holds, decided by the demuxer that reads
// it (the content, not the name: a .DAT may be a program stream or anything else).
QString nearestWritableExtension(const QString& sourcePath) {
    const std::unique_ptr<engine::MediaInput> input = engine::MediaInput::open(sourcePath.toStdString());
    const std::string demuxer = input && input->format()->iformat ? input->format()->iformat->name : "";
    if (demuxer == "mpeg" || demuxer == "vob") return QStringLiteral("mpg");
    if (demuxer == "mpegts" || demuxer == "mpegtsraw") return QStringLiteral("ts");
    return QStringLiteral("mkv");
}

}  // namespace

bool hasContainerWriter(const QString& extension) {
    if (extension.isEmpty()) return false;
    return engine::MediaOutput::describe("output." + extension.toLower().toStdString()) != nullptr;
}

QString writableOutputExtension(const QString& sourcePath, const QString& extension) {
    return hasContainerWriter(extension) ? extension : nearestWritableExtension(sourcePath);
}

QString writableOutputPath(const QString& sourcePath, const QString& outputPath) {
    const QFileInfo output(outputPath);
    const QString extension = output.suffix();
    const QString writable = writableOutputExtension(sourcePath, extension);
    if (writable == extension) return outputPath;
    return services::uniqueOutputPath(output.path(), output.completeBaseName(), writable);
}

}  // namespace kestrel::session
