#pragma once
// Fixtures and ffprobe checks shared by the splitter's tests.
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace kestrel::test {

// A 20 s, 25 fps clip with sound whose key frames are 2 s apart (pieces rarely start on one).
const std::string& twentySecondClip();
// The same length at a high bit rate (about 5 MB), for size mode.
const std::string& largeClip();

bool waitUntil(const std::function<bool()>& done, int limitMs = 240000);

// The pieces of a finished split held against their source, by ffprobe:
// - frames of all pieces add up to the source's, each piece's duration within one frame of its
//   frame count, and the durations add up to the source's within one frame per piece;
// - each piece's first picture is the source's picture where the previous pieces ended.
void expectPiecesCoverSource(const std::string& source, const std::vector<std::string>& pieces);

std::vector<std::string> toStd(const QStringList& paths);

}  // namespace kestrel::test
