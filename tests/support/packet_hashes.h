#pragma once
// Which packets of a source an output copied, as the ffmpeg command line sees them.
#include <QSet>
#include <QString>
#include <string>

namespace kestrel::test {

// MD5 of every packet of the first video stream, read with -c copy -f framemd5.
QSet<QString> videoPacketHashes(const std::string& path);

}  // namespace kestrel::test
