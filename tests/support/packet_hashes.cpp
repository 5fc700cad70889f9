#include "tests/support/packet_hashes.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "tests/support/media_fixtures.h"

namespace kestrel::test {

QSet<QString> videoPacketHashes(const std::string& path) {
    std::string listing;
    EXPECT_EQ(runCommand("ffmpeg -v error -i '" + path + "' -map 0:v:0 -c copy -f framemd5 -", &listing), 0) << listing;
    QSet<QString> hashes;
    for (const QString& line : QString::fromStdString(listing).split('\n')) {
        if (line.startsWith('#') || line.trimmed().isEmpty()) continue;
        hashes.insert(line.section(',', -1).trimmed());
    }
    return hashes;
}

}  // namespace kestrel::test
