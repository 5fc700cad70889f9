#include "tools/collage/collage_aspects.h"

#include <algorithm>
#include <cmath>

namespace kestrel::tools::collage {

namespace {
const int kSides[kAspectCount][2] = {{16, 9}, {9, 16}, {1, 1}, {4, 3}, {3, 4}, {2, 1}, {1, 2}, {5, 8}};
int clampedIndex(int index) { return index >= 0 && index < kAspectCount ? index : 0; }
}  // namespace

QString aspectText(int index) {
    const int i = clampedIndex(index);
    return QStringLiteral("%1 : %2").arg(kSides[i][0]).arg(kSides[i][1]);
}

double aspectRatio(int index) {
    const int i = clampedIndex(index);
    return double(kSides[i][0]) / double(kSides[i][1]);
}

QRect aspectFrame(int index, const QRect& area) {
    const double ratio = aspectRatio(index);
    int w = area.width(), h = static_cast<int>(std::lround(area.width() / ratio));
    if (h > area.height()) {
        h = area.height();
        w = static_cast<int>(std::lround(area.height() * ratio));
    }
    return QRect(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2, w, h);
}

session::FrameSize collagePreviewSize(int aspectIndex) {
    const session::FrameSize full = session::collageExportSize(aspectIndex);
    const double scale = std::min(1.0, 540.0 / full.height);
    return {std::max(2, int(full.width * scale) / 2 * 2), std::max(2, int(full.height * scale) / 2 * 2)};
}

}  // namespace kestrel::tools::collage
