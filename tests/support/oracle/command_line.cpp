#include "tests/support/oracle/command_line.h"

namespace kestrel::test {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string commandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = program;
    for (const auto& a : args) line += " " + shellQuoted(a);
    return line;
}

}  // namespace kestrel::test
