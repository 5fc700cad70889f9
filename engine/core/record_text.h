#pragma once
// Reading and writing the fixed string fields of the engine records.
#include <algorithm>
#include <cstring>
#include <string>

namespace kestrel::engine {

// The field's text up to its NUL (or its whole size when it has none).
template <size_t N>
std::string fieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// Copies at most N-1 bytes, never cutting a UTF-8 character in two, and terminates.
template <size_t N>
void setFieldText(char (&field)[N], const std::string& text) {
    size_t n = std::min(text.size(), N - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

}  // namespace kestrel::engine
