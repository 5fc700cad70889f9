#pragma once
// The image effects that the preview and the export accept by identifier, as libavfilter chains.
// 103 (magic enhance) is built in; the editor registers the identifiers of its effect list at
// start-up. One table serves both, so an effect looks the same in the preview and the output.
#include <cstdint>
#include <string>

namespace kestrel::engine {

constexpr int32_t kMagicEnhanceEffect = 103;

void registerImageEffect(int32_t effect_id, const std::string& filter_chain);
// The chain for an identifier, "" when it is unknown.
std::string imageEffectChain(int32_t effect_id);

}  // namespace kestrel::engine
