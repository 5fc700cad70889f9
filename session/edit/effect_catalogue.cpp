#include "session/edit/effect_catalogue.h"

#include "engine/core/effect_chains.h"
#include "platform/dispatch.h"

namespace kestrel::session {

const std::map<int32_t, QString>& effectCatalogue() {
    // Deterministic chains only (no random noise), so a frame looks the same whichever
    // engine draws it and from wherever decoding started.
    static const std::map<int32_t, QString> chains{
        {1, QStringLiteral("hue=s=0")},  // black and white
        {2, QStringLiteral("colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:.534:.131")},  // sepia
        {3, QStringLiteral("curves=preset=vintage")},
        {4, QStringLiteral("colorchannelmixer=rr=1.12:gg=1.0:bb=0.78")},     // warm
        {5, QStringLiteral("colorchannelmixer=rr=0.8:gg=0.97:bb=1.12")},     // cool
        {6, QStringLiteral("eq=contrast=1.3:saturation=1.6:gamma=0.7")},   // vivid
        {7, QStringLiteral("unsharp=7:7:3.0:7:7:0.0")},                      // sharpen
        {8, QStringLiteral("boxblur=6:2")},                                              // blur
        {9, QStringLiteral("vignette=angle=PI/3")},
        {10, QStringLiteral("negate")},
        {11, QStringLiteral("edgedetect=low=0.1:high=0.3:mode=colormix")},               // sketch
        {12, QStringLiteral("hue=s=0.25,colorbalance=rs=0.15:gs=0.05:bs=-0.15,vignette=angle=PI/4")},  // old film
    };
    return chains;
}

void registerEditorEffects() {
    static platform::OnceFlag once;
    platform::dispatchOnce(once, [] {
        for (const auto& [id, chain] : effectCatalogue()) kestrel::engine::registerImageEffect(id, chain.toStdString());
    });
}

}  // namespace kestrel::session
