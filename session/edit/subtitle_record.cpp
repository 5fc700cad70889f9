#include "session/edit/subtitle_record.h"

#include <cstring>

#include "engine/mediacore/media_core.h"
#include "services/help_class.h"
#include "session/edit/watermark_records.h"

namespace kestrel::session {

std::optional<SubtitleRecord> makeSubtitleRecord(const kestrel::model::SubtitleParam& param) {
    SubtitleRecord record;
    std::memset(&record, 0, sizeof record);
    if (!copyUtf8Field(record.path, sizeof record.path, param.subtitlePath)) return std::nullopt;
    if (!copyUtf8Field(record.font_path, sizeof record.font_path, param.fontPath)) return std::nullopt;
    record.position = param.positon;
    record.font_size = param.fontSize;
    record.shadow = param.shadow;
    const uint32_t colour = services::HelpClass::retDwordColorVolue(param.fontColor.isValid() ? param.fontColor
                                                                                              : QColor(Qt::white));
    record.colour = colour;
    record.shadow_colour = colour;
    return record;
}

int addConvertSubtitle(void* job, const kestrel::model::SubtitleParam& param) {
    if (param.subtitlePath.isEmpty()) return 1;
    const std::optional<SubtitleRecord> record = makeSubtitleRecord(param);
    if (!record) return 0;
    return apiMediaConvertSetSubtitle(job, *record);
}

}  // namespace kestrel::session
