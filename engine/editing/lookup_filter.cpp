#include "engine/editing/lookup_filter.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kestrel::editing {

namespace {

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

std::string trimmed(const std::string& line) {
    size_t begin = 0, end = line.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1]))) --end;  // also a CR
    return line.substr(begin, end - begin);
}

bool threeNumbers(const std::string& line) {
    std::istringstream in(line);
    double r, g, b;
    return static_cast<bool>(in >> r >> g >> b);
}

// One level of backslash escaping for the listed characters.
std::string escaped(const std::string& text, const char* special) {
    std::string out;
    for (char c : text) {
        if (std::strchr(special, c)) out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

bool isUsableLookupFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail(error, "cannot open the look-up table " + path);
    std::string line;
    long size = 0;
    long rows = 0;
    while (std::getline(in, line)) {
        std::string text = trimmed(line);
        if (text.empty() || text[0] == '#') continue;
        if (size == 0) {
            if (text.rfind("LUT_1D_SIZE", 0) == 0) return fail(error, "a 1D look-up table is not a colour cube");
            if (text.rfind("LUT_3D_SIZE", 0) == 0) {
                size = std::strtol(text.c_str() + 11, nullptr, 10);
                if (size < 2 || size > kMaxLookupSize) return fail(error, "look-up table size out of range");
                continue;
            }
            if (std::isalpha(static_cast<unsigned char>(text[0]))) continue;  // TITLE, DOMAIN_MIN, ...
            return fail(error, "table rows before LUT_3D_SIZE");
        }
        if (std::isalpha(static_cast<unsigned char>(text[0]))) continue;  // keywords may follow the size
        if (!threeNumbers(text)) return fail(error, "unreadable row in the look-up table");
        ++rows;
    }
    if (size == 0) return fail(error, "no LUT_3D_SIZE in " + path);
    if (rows != size * size * size) return fail(error, "the look-up table has the wrong number of rows");
    return true;
}

std::string lookupFilterChain(const std::string& path) {
    // Inner level: the option value; outer level: the chain text around it.
    std::string value = escaped(path, "\\':");
    return "lut3d=file=" + escaped(value, "\\'[],;") + ":interp=tetrahedral";
}

}  // namespace kestrel::editing
