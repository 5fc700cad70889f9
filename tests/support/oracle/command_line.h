#pragma once
// Command lines for runCommand (tests/support/media_fixtures.h), whose shell must see every
// argument as one word whatever characters a path holds.
#include <string>
#include <vector>

namespace kestrel::test {

// The text in single quotes, with each single quote in it written as '\''.
std::string shellQuoted(const std::string& text);

// "program 'arg1' 'arg2' ..."
std::string commandLine(const std::string& program, const std::vector<std::string>& args);

}  // namespace kestrel::test
