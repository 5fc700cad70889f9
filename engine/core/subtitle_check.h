#pragma once
// The one answer to "can this subtitle file be burnt in?", asked by the editor's subtitle panel
// when a file is loaded and by the preview and the export before they draw it, so that the
// panel takes exactly what the export burns.
//
// The subtitle renderer keeps every cue in memory and lays out each line it shows, and it opens
// one style per nested tag: a file of a hundred thousand cues, a line of megabytes or thousands
// of nested tags (a mislabelled or hostile file, never a real subtitle) would stall an export.
// Text in UTF-8, UTF-16 with its byte-order mark or a western single-byte encoding is read.
#include <cstdint>
#include <string>

namespace kestrel::engine {

struct SubtitleLimits {
    int64_t max_file_bytes = 4 * 1024 * 1024;  // a feature film's subtitles take ~100 KB
    int64_t max_line_bytes = 4096;             // of the text as UTF-8
    int64_t max_cues = 50000;
    int max_tag_depth = 32;                    // tags open at once within a cue
};

enum class SubtitleProblem {
    None,
    WrongType,    // not srt, ass or ssa
    Unreadable,   // missing, not a regular file, or cannot be read
    TooLarge,
    LineTooLong,
    TooManyCues,
    TagsTooDeep,
    NoCue,        // nothing in the form its extension names
};

struct SubtitleVerdict {
    SubtitleProblem problem = SubtitleProblem::None;
    std::string reason;   // in words, for logs; empty when fine
    bool ok() const { return problem == SubtitleProblem::None; }
};

SubtitleVerdict checkSubtitleFile(const std::string& path, const SubtitleLimits& limits = SubtitleLimits());

}  // namespace kestrel::engine
