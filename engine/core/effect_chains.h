#pragma once
// The image effects that the preview and the export accept by number, as libavfilter chains.
// The effect list of the editor names these numbers; 103 is the magic enhance.
namespace kestrel::engine {

// The chain for an effect number, or null when the number names no effect.
const char* effectChainForId(int effect_id);

}  // namespace kestrel::engine
