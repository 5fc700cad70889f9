#include "engine/core/subtitle_limits.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace kestrel::engine {

bool subtitleWithinLimits(const std::string& path, std::string* why, const SubtitleLimits& limits) {
    auto refuse = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return refuse("not a regular file");
    if (info.st_size > limits.max_file_bytes) return refuse("file too large for a subtitle");
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return refuse("cannot be read");

    // Cues are counted by their timing lines: "-->" (SubRip, WebVTT) or "Dialogue:" (ASS/SSA).
    int64_t line_bytes = 0, cues = 0;
    std::string line_head;  // the first bytes of the current line, enough to recognise a cue
    char buffer[64 * 1024];
    size_t got;
    auto endLine = [&] {
        if (line_head.find("-->") != std::string::npos || line_head.rfind("Dialogue:", 0) == 0) ++cues;
        line_head.clear();
        line_bytes = 0;
    };
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        for (size_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                endLine();
                if (cues > limits.max_cues) return refuse("too many subtitle cues");
                continue;
            }
            if (++line_bytes > limits.max_line_bytes) return refuse("a subtitle line is too long");
            if (line_head.size() < 64) line_head.push_back(c);
        }
    }
    endLine();
    if (cues > limits.max_cues) return refuse("too many subtitle cues");
    return true;
}

}  // namespace kestrel::engine
