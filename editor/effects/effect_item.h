#pragma once
// One entry of the editor's effect list: the effect's identifier (as the preview player and the
// transcoding engine take it), the key of its name, whether it is switched on and whether its
// row is the highlighted one.
#include <QString>
#include <cstdint>

namespace kestrel::editor {

struct EffectItem {
    bool selected = false;
    bool isCheck = false;
    int32_t effectId = 0;
    QString name;
};

}  // namespace kestrel::editor
