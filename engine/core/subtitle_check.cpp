#include "engine/core/subtitle_check.h"

#include "engine/core/subtitle_charset.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace kestrel::engine {

namespace {

void appendUtf8(unsigned code, std::string* out) {
    if (code < 0x80) {
        out->push_back(char(code));
    } else if (code < 0x800) {
        out->push_back(char(0xC0 | (code >> 6)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(char(0xE0 | (code >> 12)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (code >> 18)));
        out->push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    }
}

std::string utf16ToUtf8(const std::string& bytes, size_t from, bool little_endian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) {
        const unsigned a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return little_endian ? (b << 8 | a) : (a << 8 | b);
    };
    for (size_t i = from; i + 1 < bytes.size(); i += 2) {
        unsigned code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size()) {
            const unsigned low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(code, &out);
    }
    return out;
}

// Windows-1252: Latin-1 but for the printable letters it puts in 0x80..0x9F.
std::string windows1252ToUtf8(const std::string& bytes) {
    static const unsigned kHigh[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                       0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const unsigned code = static_cast<unsigned char>(c);
        appendUtf8(code >= 0x80 && code < 0xA0 ? kHigh[code - 0x80] : code, &out);
    }
    return out;
}

// The file's text as UTF-8, read the way the subtitle renderer is told to read it.
std::string textAsUtf8(const std::string& bytes) {
    auto startsWith = [&bytes](const char* mark, size_t n) { return bytes.compare(0, n, mark, n) == 0; };
    if (startsWith("\xEF\xBB\xBF", 3)) return bytes.substr(3);
    if (startsWith("\xFF\xFE", 2)) return utf16ToUtf8(bytes, 2, true);
    if (startsWith("\xFE\xFF", 2)) return utf16ToUtf8(bytes, 2, false);
    return isValidUtf8(bytes) ? bytes : windows1252ToUtf8(bytes);
}

std::string lowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

std::string trimmed(const std::string& line) {
    size_t a = 0, b = line.size();
    while (a < b && std::isspace(static_cast<unsigned char>(line[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(line[b - 1]))) --b;
    return line.substr(a, b - a);
}

// "h:mm:ss,mmm" (or with a point) at `at`; moves `at` past it.
bool readClock(const std::string& s, size_t& at) {
    auto digits = [&](size_t least, size_t most) {
        size_t n = 0;
        while (at < s.size() && n < most && std::isdigit(static_cast<unsigned char>(s[at]))) ++at, ++n;
        return n >= least;
    };
    auto sign = [&](auto accept) {
        if (at >= s.size() || !accept(s[at])) return false;
        ++at;
        return true;
    };
    return digits(1, 2) && sign([](char c) { return c == ':'; }) && digits(2, 2) && sign([](char c) { return c == ':'; }) &&
           digits(2, 2) && sign([](char c) { return c == ',' || c == '.'; }) && digits(1, 3);
}

bool isSrtTiming(const std::string& line) {
    size_t at = 0;
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
    if (!readClock(line, at)) return false;
    while (at < line.size() && line[at] == ' ') ++at;
    if (line.compare(at, 3, "-->") != 0) return false;
    at += 3;
    while (at < line.size() && line[at] == ' ') ++at;
    return readClock(line, at);
}

bool isEventsHeading(const std::string& line) {
    std::string t = trimmed(line);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return t == "[events]";
}

// "Dialogue:", spaces allowed before the colon.
bool isDialogue(const std::string& line) {
    const std::string t = trimmed(line);
    if (t.compare(0, 8, "Dialogue") != 0) return false;
    size_t at = 8;
    while (at < t.size() && (t[at] == ' ' || t[at] == '\t')) ++at;
    return at < t.size() && t[at] == ':';
}

SubtitleVerdict refused(SubtitleProblem problem, const char* reason) { return SubtitleVerdict{problem, reason}; }

}  // namespace

SubtitleVerdict checkSubtitleFile(const std::string& path, const SubtitleLimits& limits) {
    const std::string ext = lowerExtension(path);
    const bool srt = ext == "srt";
    if (!srt && ext != "ass" && ext != "ssa") return refused(SubtitleProblem::WrongType, "not an srt, ass or ssa file");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return refused(SubtitleProblem::Unreadable, "not a regular file");
    if (info.st_size > limits.max_file_bytes) return refused(SubtitleProblem::TooLarge, "file too large for a subtitle");
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return refused(SubtitleProblem::Unreadable, "cannot be read");
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return refused(SubtitleProblem::Unreadable, "cannot be read");

    const std::string text = textAsUtf8(bytes);
    int64_t cues = 0;
    int depth = 0;             // tags open in the current cue (SubRip's <b>, <i>, <font> ...)
    bool timed = false, events = false, dialogue = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (srt) {
            if (isSrtTiming(line)) {
                if (int64_t(line.size()) > limits.max_line_bytes)
                    return refused(SubtitleProblem::LineTooLong, "a subtitle line is too long");
                timed = true;
                depth = 0;
                if (++cues > limits.max_cues) return refused(SubtitleProblem::TooManyCues, "too many subtitle cues");
                continue;
            }
            if (trimmed(line).empty()) depth = 0;
            // Before the line's length: thousands of nested tags make a long line, and the depth
            // is what the renderer cannot take.
            for (size_t i = 0; i + 1 < line.size(); ++i) {
                if (line[i] != '<') continue;
                if (line[i + 1] == '/') depth = std::max(0, depth - 1);
                else if (std::isalpha(static_cast<unsigned char>(line[i + 1])) && ++depth > limits.max_tag_depth)
                    return refused(SubtitleProblem::TagsTooDeep, "subtitle tags nested too deep");
            }
        }
        if (int64_t(line.size()) > limits.max_line_bytes) return refused(SubtitleProblem::LineTooLong, "a subtitle line is too long");
        if (!srt) {
            if (isEventsHeading(line)) events = true;
            if (isDialogue(line)) {
                dialogue = true;
                if (++cues > limits.max_cues) return refused(SubtitleProblem::TooManyCues, "too many subtitle cues");
            }
        }
        if (end == text.size()) break;
    }
    const bool has_cue = srt ? timed : events && dialogue;
    if (!has_cue) return refused(SubtitleProblem::NoCue, "no subtitle cue in it");
    return {};
}

}  // namespace kestrel::engine
