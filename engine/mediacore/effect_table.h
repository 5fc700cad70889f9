#pragma once
// Image effect identifiers and the filter chains they stand for. 103 (magic enhance) is built
// in; the editor registers the identifiers of its effect list at start-up.
#include <cstdint>
#include <string>

namespace kestrel::mediacore {

constexpr int32_t kMagicEnhanceEffect = 103;

void registerImageEffect(int32_t effect_id, const std::string& filter_chain);
// The chain for an identifier, "" when it is unknown.
std::string imageEffectChain(int32_t effect_id);

}  // namespace kestrel::mediacore
