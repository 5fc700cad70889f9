#pragma once
// Fixtures and ffprobe checks shared by the splitter's tests.
#include <QString>
#include <string>
#include <vector>

#include "tests/support/user_input.h"

class QComboBox;

namespace kestrel::test {

// A 20 s, 25 fps clip with sound whose key frames are 2 s apart (pieces rarely start on one).
const std::string& twentySecondClip();
// The same length at a high bit rate (about 5 MB), for size mode.
const std::string& largeClip();
// Four minutes of a small picture at 5 fps with sound: long enough for a couple of hundred pieces.
const std::string& fourMinuteClip();
// A file of random bytes named like a video.
class TempDir;
std::string brokenFile(const TempDir& dir, const std::string& name = "broken.mp4");

// Opens the pop-up list with a click and clicks its item whose text starts with prefix, where
// the list draws it; false when the list has no such item or did not close.
bool chooseInPopup(QComboBox* popup, const QString& prefix);

// The pieces of a finished split held against their source, by ffprobe:
// - frames of all pieces add up to the source's, each piece's duration within one frame of its
//   frame count, and the durations add up to the source's within one frame per piece;
// - each piece's first picture is the source's picture where the previous pieces ended.
void expectPiecesCoverSource(const std::string& source, const std::vector<std::string>& pieces);

std::vector<std::string> toStd(const QStringList& paths);

}  // namespace kestrel::test
