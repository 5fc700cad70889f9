#pragma once
// What stands for a video watermark in the overlay: its first frame, 180 pixels high.
#include <QImage>
#include <QString>

namespace kestrel::editor {

// The first frame of the video at the path, 180 pixels high with its aspect kept; a null image
// when the file cannot be opened or has no picture.
QImage getWaterImageWithPath(const QString& path);

// Length of a media file in seconds; 0 when it cannot be opened.
double mediaDurationSeconds(const QString& path);

}  // namespace kestrel::editor
