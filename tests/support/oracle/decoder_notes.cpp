#include "tests/support/oracle/decoder_notes.h"

#include <sstream>

namespace kestrel::test {

std::string withoutDecoderNotes(const std::string& printed) {
    std::istringstream lines(printed);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("[h261 @ ", 0) == 0 && line.find("] warning: first frame is no keyframe") != std::string::npos) continue;
        kept += line + "\n";
    }
    if (!printed.empty() && printed.back() != '\n' && !kept.empty()) kept.pop_back();
    return kept;
}

}  // namespace kestrel::test
