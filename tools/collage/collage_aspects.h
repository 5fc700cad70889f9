#pragma once
// The eight aspect ratios of the collage: menu texts (also their string keys) and the preview
// frame that fits the preview area.
#include <QRect>
#include <QString>

#include "session/export/collage/collage_export_job.h"

namespace kestrel::tools::collage {

constexpr int kAspectCount = 8;

QString aspectText(int index);  // "16 : 9", "9 : 16", "1 : 1", "4 : 3", "3 : 4", "2 : 1", "1 : 2", "5 : 8"
double aspectRatio(int index);  // width / height
// The largest frame of the aspect inside area, centred.
QRect aspectFrame(int index, const QRect& area);
// The preview's picture size: the export size brought down to at most 540 lines.
session::FrameSize collagePreviewSize(int aspectIndex);

}  // namespace kestrel::tools::collage
