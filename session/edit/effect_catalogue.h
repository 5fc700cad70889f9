#pragma once
// The filter chains behind the identifiers of the effect list. Registered once with the engines'
// effect registry, so the preview player and the export draw every effect alike.
#include <QString>
#include <cstdint>
#include <map>

namespace kestrel::session {

// Identifier -> libavfilter chain of every effect of "EffectList.plist".
const std::map<int32_t, QString>& effectCatalogue();

// Registers the catalogue with the engines; later calls do nothing.
void registerEditorEffects();

}  // namespace kestrel::session
