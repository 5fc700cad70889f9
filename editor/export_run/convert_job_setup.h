#pragma once
// Configures one convert job of the editor's export in the engine's fixed order: codecs and
// sizes from the output choice, audio track and level, subtitle, effects and colour, cut,
// speed, crop, flips, rotation, watermarks and background music. The output path and the start
// are the caller's.
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

#include "session/output_choice.h"
#include "editor/export_run/export_edits.h"
#include "model/simple_data.h"

namespace kestrel::editor {

struct SetupOutcome {
    bool ok = true;
    int code = 1;          // the failing engine result
    QString messageKey;    // a localised message instead of the code, when set
};

// The cut to send: nothing (the whole file) or a range in source µs.
using CutRange = std::optional<std::pair<int64_t, int64_t>>;

// Pictures the watermark step wrote for the job are appended to writtenFiles.
SetupOutcome configureConvertJob(void* job, const kestrel::model::SimpleData& record, const session::OutputChoice& choice,
                                 const ExportEdits& edits, const CutRange& cut, QStringList* writtenFiles);

// The stream index of the chosen audio track: the pop-up position mapped through the record's
// audio streams when it has any.
int32_t audioStreamIndexFor(const kestrel::model::SimpleData& record, int popUpIndex);

}  // namespace kestrel::editor
