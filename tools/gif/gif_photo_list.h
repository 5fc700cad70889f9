#pragma once
// The pictures the GIF maker takes: their kinds (extension tested whole and lower-cased, so
// "PHOTO.JPG" is one), and what a choice in the open panel gives: the chosen pictures and the
// pictures directly inside chosen folders, in the order the files were made.
#include <QStringList>

namespace kestrel::tools::gif {

// The photo kinds the GIF maker takes.
QStringList photoFileTypes();
// The paths that are photos, in their order.
QStringList acceptedPhotos(const QStringList& paths);
// The photos of a choice: pictures chosen, and the pictures in chosen folders (not in their
// sub-folders); everything else left out; ordered by when each file was made, oldest first
// (files made at the same time keep their order).
QStringList photosOfChoice(const QStringList& chosen);

}  // namespace kestrel::tools::gif
