// The oracle's decode check: silent on a sound file, and reporting what ffmpeg printed for a
// file whose last bytes are damaged.
#include "tests/oracle/oracle_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"

#include <gtest/gtest.h>

#include <QFile>

namespace kestrel::test {
namespace {

// A copy of the file with its last `count` bytes overwritten by fixed pseudo-random bytes.
std::string withDamagedTail(const std::string& from, const std::string& name, int count) {
    const std::string to = oracleMediaPath(name);
    QFile::remove(QString::fromStdString(to));
    EXPECT_TRUE(QFile::copy(QString::fromStdString(from), QString::fromStdString(to)));
    QFile file(QString::fromStdString(to));
    EXPECT_TRUE(file.open(QIODevice::ReadWrite));
    uint32_t state = 12345;
    QByteArray garbage;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.append(char(state >> 16));
    }
    file.seek(file.size() - count);
    file.write(garbage);
    return to;
}

TEST(DecodeCheck, SoundFileDecodesWithoutAWord) {
    const DecodeCheck check = checkDecode(sourceOf(Pattern::testsrc2));
    EXPECT_TRUE(check.clean()) << check.describe();
    EXPECT_EQ(check.exit_code, 0);
    EXPECT_EQ(check.printed, "");
}

TEST(DecodeCheck, DamagedTailIsReportedWithWhatTheDecoderSaid) {
    const std::string& whole = outputOf(Pattern::testsrc2, "faststart");
    ASSERT_TRUE(decodesCleanly(whole));
    const std::string damaged = withDamagedTail(whole, "damaged-tail.mp4", 3000);

    const DecodeCheck check = checkDecode(damaged);
    EXPECT_FALSE(check.clean());
    EXPECT_NE(check.printed.find("error"), std::string::npos) << check.printed;
    EXPECT_NE(check.describe().find(damaged + " does not decode cleanly"), std::string::npos) << check.describe();
    EXPECT_NE(check.describe().find(check.printed), std::string::npos) << check.describe();
}

TEST(DecodeCheck, UnreadableFileIsNotClean) {
    const std::string path = oracleMediaPath("not-media.mp4");
    writeBytes(path, std::string(4096, 'x'));
    const auto result = decodesCleanly(path);
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("not-media.mp4: Invalid data"), std::string::npos) << result.message();
}

}  // namespace
}  // namespace kestrel::test
