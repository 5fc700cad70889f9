#include "app/home_tiles.h"

#include <array>

namespace app {

namespace {
constexpr std::array<const char*, kHomeTileCount> kTileNames = {
    "EasyCut", "BatchCut", "AdvancedCut", "Join", "Crop", "Watermark", "Subtitle",
    "Music", "Filter", "Speed", "Rotation", "Pip", "Split", "Reverse",
    "ImageEnhancement", "SplitScreen", "MakeGIF", "VideoToPic", "3D", "Beauty"};
}  // namespace

QString subFunImageName(int index) {
    if (index < 0 || index >= kHomeTileCount) return QString();
    return QString::fromLatin1(kTileNames[std::size_t(index)]);
}

}  // namespace app
