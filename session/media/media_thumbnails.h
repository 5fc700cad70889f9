#pragma once
// Gives the working-folder service its video thumbnails (the first frame, upright, decoded by
// the transcoding engine) and its audio artwork (the file's cover picture); the service itself
// sits below the engines.
#include <QImage>
#include <QString>

namespace kestrel::session {

// The picture shown at the start of a video file, at most max_side pixels on its long side;
// a null image when the file has no picture or cannot be read.
QImage firstVideoFrame(const QString& path, int max_side = 900);

// The cover picture an audio (or video) file carries; a null image when it has none.
QImage audioArtwork(const QString& path);

// Installs firstVideoFrame and audioArtwork as the folder service's grabbers.
void installMediaThumbnails();

}  // namespace kestrel::session
