#pragma once
// The job record's media properties as the output-format bar reads and writes them.
#include "export/profiles/target_properties.h"
#include "model/file_data.h"

namespace kestrel::editor {

exportkit::MediaProperties mediaPropertiesOf(const kestrel::model::FileData& data);
// Writes back what the bar decides about an output (size, rates, codecs, extension).
void assignTarget(kestrel::model::FileData& target, const exportkit::MediaProperties& properties);

}  // namespace kestrel::editor
