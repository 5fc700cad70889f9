#include "session/export/editor/even_size_rule.h"

#include <QFileInfo>

#include "engine/mediacore/media_core.h"
#include "session/jobs/engine_handles.h"

namespace kestrel::session {

bool exportWritesEvenSizes(const kestrel::model::SimpleData& record, const OutputChoice& choice) {
    ConvertHandle job = ConvertHandle::create();
    if (!job || apiMediaConvertSetInputMedia(job.get(), record.path.toUtf8().constData()) < 1) return true;
    if (!choice.vcodec.isEmpty() && apiMediaConvertSetVcodec(job.get(), choice.vcodec.toUtf8().constData()) < 1)
        return true;
    // The extension the export names its file with.
    const QString extension =
        record.targetData.extension.isEmpty() ? QFileInfo(record.path).suffix() : record.targetData.extension;
    const int32_t rule = apiMediaConvertGetEvenSizeRule(job.get(), ("output." + extension).toUtf8().constData());
    return rule != 0;
}

}  // namespace kestrel::session
