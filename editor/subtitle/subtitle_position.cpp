#include "editor/subtitle/subtitle_position.h"

#include <algorithm>
#include <cmath>

namespace kestrel::editor {

namespace {

int capped(double value, double cap) { return static_cast<int>(std::trunc(std::max(0.0, std::min(value, cap)))); }

}  // namespace

int subtitlePositionFromProgress(double progress, int videoHeight, int fontSize) {
    return capped(progress * videoHeight, videoHeight - 2.0 * fontSize);
}

int subtitlePositionForPlace(SubtitlePlace place, int videoHeight, int fontSize) {
    switch (place) {
    case SubtitlePlace::Top: return capped(0, videoHeight - fontSize);
    case SubtitlePlace::Center: return capped(0.5 * videoHeight, videoHeight - fontSize);
    case SubtitlePlace::Bottom: break;
    }
    return capped(videoHeight, videoHeight - 2.0 * fontSize);
}

int clampedSubtitlePosition(int position, int videoHeight, int fontSize) {
    return capped(position, videoHeight - 2.0 * fontSize);
}

}  // namespace kestrel::editor
