#pragma once
// The job record's media properties as the output-format bar reads and writes them.
#include "export/profiles/target_properties.h"
#include "model/file_data.h"

namespace editor {

exportkit::MediaProperties mediaPropertiesOf(const model::FileData& data);
// Writes back what the bar decides about an output (size, rates, codecs, extension).
void assignTarget(model::FileData& target, const exportkit::MediaProperties& properties);

}  // namespace editor
