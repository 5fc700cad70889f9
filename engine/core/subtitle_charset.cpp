#include "engine/core/subtitle_charset.h"

#include <fstream>
#include <iterator>

namespace kestrel::engine {

bool isValidUtf8(const std::string& bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        int follow = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (follow < 0 || (follow == 1 && c < 0xC2)) return false;
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= n) return false;
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += follow + 1;
    }
    return true;
}

std::string subtitleCharacterEncoding(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "";
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto startsWith = [&bytes](const char* bom, size_t len) { return bytes.compare(0, len, bom, len) == 0; };
    if (startsWith("\xEF\xBB\xBF", 3) || startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2)) return "";
    return isValidUtf8(bytes) ? "" : "CP1252";
}

}  // namespace kestrel::engine
