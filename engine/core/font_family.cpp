#include "engine/core/font_family.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace kestrel::engine {

namespace {

struct Reader {
    const std::string& data;
    bool ok(size_t offset, size_t size) const { return offset <= data.size() && size <= data.size() - offset; }
    uint32_t u16(size_t o) const { return (uint8_t(data[o]) << 8) | uint8_t(data[o + 1]); }
    uint32_t u32(size_t o) const { return (u16(o) << 16) | u16(o + 2); }
};

std::string utf16beToUtf8(const std::string& data, size_t offset, size_t length) {
    std::string out;
    for (size_t i = 0; i + 1 < length; i += 2) {
        uint32_t c = (uint8_t(data[offset + i]) << 8) | uint8_t(data[offset + i + 1]);
        if (c >= 0xD800 && c <= 0xDFFF) continue;  // family names outside the BMP are not expected
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::string fontFamilyName(const std::string& font_file) {
    std::ifstream file(font_file, std::ios::binary);
    if (!file) return "";
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Reader r{data};
    size_t face = 0;
    if (r.ok(0, 16) && data.compare(0, 4, "ttcf") == 0) face = r.u32(12);
    if (!r.ok(face, 12)) return "";
    uint32_t tables = r.u16(face + 4);
    for (uint32_t t = 0; t < tables; ++t) {
        size_t entry = face + 12 + t * 16;
        if (!r.ok(entry, 16)) return "";
        if (data.compare(entry, 4, "name") != 0) continue;
        size_t table = r.u32(entry + 8);
        if (!r.ok(table, 6)) return "";
        uint32_t count = r.u16(table + 2);
        size_t strings = table + r.u16(table + 4);
        std::string mac_name;
        for (uint32_t i = 0; i < count; ++i) {
            size_t rec = table + 6 + i * 12;
            if (!r.ok(rec, 12)) return "";
            uint32_t platform = r.u16(rec), name_id = r.u16(rec + 6);
            size_t length = r.u16(rec + 8), offset = strings + r.u16(rec + 10);
            if (name_id != 1 || !r.ok(offset, length)) continue;
            if (platform == 3 || platform == 0) return utf16beToUtf8(data, offset, length);
            if (platform == 1 && mac_name.empty()) mac_name = data.substr(offset, length);
        }
        return mac_name;
    }
    return "";
}

}  // namespace kestrel::engine
