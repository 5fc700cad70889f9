#include "tests/support/oracle/decode_check.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/oracle/decoder_notes.h"
#include "tests/support/oracle/command_line.h"

#include <vector>

namespace kestrel::test {
namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string DecodeCheck::describe() const {
    if (clean()) return path + " decodes without an error";
    return path + " does not decode cleanly (ffmpeg exit code " + std::to_string(exit_code) + ")" +
           (printed.empty() ? std::string() : ":\n" + printed);
}

DecodeCheck checkDecode(const std::string& path) {
    DecodeCheck check;
    check.path = path;
    std::string printed;
    // One thread: for test-sized media, starting threads costs more than they save.
    const std::vector<std::string> args{"-hide_banner", "-nostdin", "-v", "error", "-threads", "1", "-i", path,
                                        "-map", "0:v?", "-map", "0:a?", "-f", "null", "-"};
    check.exit_code = runCommand(commandLine("ffmpeg", args), &printed);
    check.printed = trimmed(withoutDecoderNotes(printed));
    return check;
}

::testing::AssertionResult decodesCleanly(const std::string& path) {
    const DecodeCheck check = checkDecode(path);
    return (check.clean() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure()) << check.describe();
}

}  // namespace kestrel::test
