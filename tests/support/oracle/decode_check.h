#pragma once
// Whether every video and audio stream of a file decodes without a complaint from ffmpeg.
#include <gtest/gtest.h>
#include <string>

namespace kestrel::test {

struct DecodeCheck {
    std::string path;
    int exit_code = -1;
    std::string printed;  // what `ffmpeg -v error` printed while decoding, trimmed

    bool clean() const { return exit_code == 0 && printed.empty(); }
    std::string describe() const;
};

// Decodes every video and audio stream of the file to nothing (`ffmpeg -v error -i FILE
// -map 0:v? -map 0:a? -f null -`) and keeps what ffmpeg printed.
DecodeCheck checkDecode(const std::string& path);

// checkDecode as a gtest assertion: EXPECT_TRUE(decodesCleanly(out)).
::testing::AssertionResult decodesCleanly(const std::string& path);

}  // namespace kestrel::test
