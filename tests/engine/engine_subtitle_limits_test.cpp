// Subtitle files that cannot be drawn in bounded time and memory are refused when they are set,
// before any export starts; ordinary files pass.
#include "engine/core/subtitle_check.h"
#include "engine/mediacore/media_core.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrel::test {
namespace {

std::string cues(int count, const std::string& text) {
    std::string srt;
    for (int i = 0; i < count; ++i) {
        const int s = i % 3600;
        char timing[64];
        std::snprintf(timing, sizeof timing, "%02d:%02d:%02d,000 --> %02d:%02d:%02d,500\n", s / 3600, s / 60 % 60,
                      s % 60, s / 3600, s / 60 % 60, s % 60);
        srt += std::to_string(i + 1) + "\n" + timing + text + "\n\n";
    }
    return srt;
}

int32_t setSubtitle(const std::string& path) {
    void* job = apiMediaConvertCreate();
    SubtitleRecord record{};
    std::strncpy(record.path, path.c_str(), sizeof record.path - 1);
    const int32_t rc = apiMediaConvertSetSubtitle(job, record);
    apiMediaConvertClose(job);
    return rc;
}

TEST(EngineSubtitleLimits, RefusesWhatCannotBeDrawnInBoundedTimeAndAcceptsRealFiles) {
    TempDir dir;
    struct Case { const char* name; std::string bytes; bool accepted; };
    const Case cases[] = {
        {"film.srt", cues(1500, "An ordinary line of dialogue"), true},
        {"crlf.srt", "1\r\n00:00:00,000 --> 00:00:01,000\r\nHello\r\n", true},
        {"long_line.srt", "1\n00:00:00,000 --> 00:00:01,000\n" + std::string(6 * 1024 * 1024, 'x') + "\n", false},
        {"many_cues.srt", cues(200000, "x"), false},
        {"huge.ass", "[Events]\n" + std::string(5 * 1024 * 1024, '\n'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file(c.name), c.bytes);
        EXPECT_EQ(setSubtitle(dir.file(c.name)) >= 1, c.accepted);
    }
    EXPECT_LT(setSubtitle(dir.path()), 1);  // a folder is no subtitle file
}

// The check reads a file's cues in the encoding the file is in: a timing line or an events
// section found only in the decoded text, never in the raw bytes of UTF-16.
TEST(EngineSubtitleCheck, ReadsTheCuesOfEveryEncodingItTakes) {
    TempDir dir;
    auto utf16 = [](const std::string& ascii, bool little_endian) {
        std::string out = little_endian ? std::string("\xFF\xFE", 2) : std::string("\xFE\xFF", 2);
        for (char c : ascii) out += little_endian ? std::string{c, '\0'} : std::string{'\0', c};
        return out;
    };
    const std::string srt = "1\r\n00:00:00,000 --> 00:00:01,000\r\nHello\r\n";
    const std::string ass = "[Script Info]\n\n[Events]\nFormat: Layer, Start, End, Style, Text\n"
                            "Dialogue: 0,0:00:00.00,0:00:01.00,Default,Hello\n";
    struct Case { const char* name; std::string bytes; engine::SubtitleProblem problem; };
    const Case cases[] = {
        {"utf16le.srt", utf16(srt, true), engine::SubtitleProblem::None},
        {"utf16be.srt", utf16(srt, false), engine::SubtitleProblem::None},
        {"utf16le.ass", utf16(ass, true), engine::SubtitleProblem::None},
        {"bom.srt", "\xEF\xBB\xBF" + srt, engine::SubtitleProblem::None},
        {"latin.srt", "1\n00:00:00,000 --> 00:00:01,000\nCaf\xE9\n", engine::SubtitleProblem::None},
        {"no-timing.srt", "1\nHello\n", engine::SubtitleProblem::NoCue},
        {"no-events.ass", "Dialogue: 0,0:00:00.00,0:00:01.00,Default,Hello\n", engine::SubtitleProblem::NoCue},
        {"cue.txt", srt, engine::SubtitleProblem::WrongType},
        {"tags.srt", "1\n00:00:00,000 --> 00:00:01,000\n" + std::string(40, '<') + "\n", engine::SubtitleProblem::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file(c.name), c.bytes);
        EXPECT_EQ(engine::checkSubtitleFile(dir.file(c.name)).problem, c.problem);
    }
    EXPECT_EQ(engine::checkSubtitleFile(dir.file("missing.srt")).problem, engine::SubtitleProblem::Unreadable);
}

}  // namespace
}  // namespace kestrel::test
