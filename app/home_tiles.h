#pragma once
// The twenty home tiles: tag 1..20, each with a name that is the stem of its picture and its
// text keys (name + "_Title", name + "_PlaceholderString").
#include <QString>

namespace app {

constexpr int kHomeTileCount = 20;

// The name of the tile at index 0..19 (tag - 1); an empty string for any other index.
QString subFunImageName(int index);

}  // namespace app
