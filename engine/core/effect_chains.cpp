#include "engine/core/effect_chains.h"

namespace kestrel::engine {

namespace {
struct EffectChain {
    int id;
    const char* chain;
};

constexpr EffectChain kEffects[] = {
    {1, "hue=s=0"},                                                              // black and white
    {2, "colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:.534:.131"},  // sepia
    {3, "negate"},                                                               // negative
    {4, "curves=preset=vintage"},                                                // old film
    {5, "unsharp=5:5:1.0"},                                                      // sharpen
    {6, "boxblur=2:1"},                                                          // soft focus
    {7, "edgedetect=mode=colormix"},                                             // sketch
    {8, "vignette"},                                                             // vignette
    {103, "hqdn3d,unsharp=5:5:0.8,eq=contrast=1.05:saturation=1.15"},           // magic enhance
};
}  // namespace

const char* effectChainForId(int effect_id) {
    for (const EffectChain& e : kEffects)
        if (e.id == effect_id) return e.chain;
    return nullptr;
}

}  // namespace kestrel::engine
