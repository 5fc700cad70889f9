#include "engine/mediacore/effect_table.h"

#include <map>
#include <mutex>

namespace kestrel::mediacore {
namespace {

struct EffectTable {
    std::mutex mutex;
    std::map<int32_t, std::string> chains{{kMagicEnhanceEffect, "hqdn3d=2:1.5:3:3,unsharp=5:5:0.6:5:5:0.0,eq=contrast=1.05:saturation=1.15"}};
};

EffectTable& table() {
    static EffectTable instance;
    return instance;
}

}  // namespace

void registerImageEffect(int32_t effect_id, const std::string& filter_chain) {
    std::lock_guard lock(table().mutex);
    table().chains[effect_id] = filter_chain;
}

std::string imageEffectChain(int32_t effect_id) {
    std::lock_guard lock(table().mutex);
    auto it = table().chains.find(effect_id);
    return it == table().chains.end() ? "" : it->second;
}

}  // namespace kestrel::mediacore
