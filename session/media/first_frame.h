#pragma once
// What the editor's panels read of a file they are given: the first frame standing for a video
// watermark in the overlay (180 pixels high), and lengths.
#include <QImage>
#include <QString>

namespace kestrel::session {

// The first frame of the video at the path, 180 pixels high with its aspect kept; a null image
// when the file cannot be opened or has no picture.
QImage getWaterImageWithPath(const QString& path);

// Length in seconds of a file with sound, or 0 when it has none or cannot be read.
double soundLengthSeconds(const QString& path);

// Length of a media file in seconds; 0 when it cannot be opened.
double mediaDurationSeconds(const QString& path);

}  // namespace kestrel::session
