#pragma once
// Gives the working-folder service its video thumbnails: the first frame, upright, decoded by
// the transcoding engine (the service itself sits below the engines).
#include <QImage>
#include <QString>

namespace kestrel::session {

// The picture shown at the start of a video file, at most max_side pixels on its long side;
// a null image when the file has no picture or cannot be read.
QImage firstVideoFrame(const QString& path, int max_side = 900);

// Installs firstVideoFrame as the folder service's video frame grabber.
void installMediaThumbnails();

}  // namespace kestrel::session
