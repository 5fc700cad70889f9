// The subtitle panel and the transcoding engine answer alike for every subtitle file: what the
// panel takes, the export burns in (UTF-16 as well as UTF-8 and the legacy encoding, judged
// against ffmpeg's own `subtitles` filter), and what the export would refuse, the panel refuses
// when the file is loaded, naming why.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>
#include <filesystem>
#include <string>

#include "editor/subtitle/subtitle_panel.h"
#include "engine/mediacore/media_core.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/edit/subtitle_record.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::editor;
using namespace kestrel::session;
using kestrel::player::DIVuverIzizud;
namespace kt = kestrel::test;

namespace {

constexpr char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string cue(int index, int second, const std::string& text) {
    char timing[64];
    std::snprintf(timing, sizeof timing, "%02d:%02d:%02d,000 --> %02d:%02d:%02d,900", second / 3600, second / 60 % 60,
                  second % 60, second / 3600, second / 60 % 60, second % 60);
    return std::to_string(index) + "\r\n" + timing + "\r\n" + text + "\r\n\r\n";
}

// The text in UTF-16 with its byte-order mark, from ASCII and two-byte UTF-8 letters.
std::string utf16(const std::string& utf8, bool little_endian) {
    std::string out = little_endian ? std::string("\xFF\xFE", 2) : std::string("\xFE\xFF", 2);
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned code = static_cast<unsigned char>(utf8[i]);
        if ((code & 0xE0) == 0xC0 && i + 1 < utf8.size()) code = ((code & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        const char low = char(code & 0xFF), high = char(code >> 8);
        out += little_endian ? std::string{low, high} : std::string{high, low};
    }
    return out;
}

// Short cues, so that the count and not the file's size is what is too much.
std::string manyCues(int count) {
    std::string srt;
    for (int i = 0; i < count; ++i) srt += "1\n0:00:0" + std::to_string(i % 10) + ",0 --> 0:00:0" + std::to_string(i % 10) + ",9\nx\n\n";
    return srt;
}

std::string nestedTags(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<i>";
    text += "deep";
    for (int i = 0; i < depth; ++i) text += "</i>";
    return cue(1, 0, text);
}

const std::string kText = cue(1, 0, "Caf\xC3\xA9 WWWW") + cue(2, 1, "Zwei <b>WWWW</b>");

struct Case {
    const char* name;
    std::string bytes;
    const char* refusal;  // nullptr: taken and burnt in
    const char* charset = nullptr;  // what ffmpeg must be told to read it
};

int32_t convertWith(const std::string& input, const std::string& output, const kestrel::model::SubtitleParam& param) {
    void* job = apiMediaConvertCreate();
    int32_t rc = apiMediaConvertSetInputMedia(job, input.c_str());
    if (rc >= 1) rc = apiMediaConvertSetVcodec(job, "h264");
    if (rc >= 1) rc = apiMediaConvertSetVideoBitrate(job, 4000);
    if (rc >= 1) rc = addConvertSubtitle(job, param);
    if (rc >= 1) rc = apiMediaConvertSetOutputPath(job, output.c_str());
    if (rc >= 1) rc = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    return rc;
}

}  // namespace

TEST(SubtitleCheck, ThePanelTakesWhatTheExportBurnsAndRefusesTheRestAtOnce) {
    if (!QFile::exists(kFont)) GTEST_SKIP() << "DejaVu Sans is not installed";
    kt::TempDir dir;
    const std::string video = dir.file("black.mp4");
    kt::FixtureSpec spec;
    spec.video_source = "color";
    spec.audio_streams = 0;
    kt::makeMedia(video, spec);
    const std::string fonts = dir.file("fonts");
    std::filesystem::create_directory(fonts);
    std::filesystem::create_symlink(kFont, fonts + "/DejaVuSans.ttf");

    auto player = DIVuverIzizud::initWithString(video, QRectF(0, 0, 320, 240));
    ASSERT_TRUE(player);
    kestrel::model::SimpleDataPtr record = kestrel::model::makeSimpleData();
    record->path = QString::fromStdString(video);
    record->sourceData.width = 320;
    record->sourceData.height = 240;
    record->sourceData.duration = 2.0f;

    const Case cases[] = {
        {"utf8.srt", kText, nullptr},
        {"utf8-bom.srt", "\xEF\xBB\xBF" + kText, nullptr},
        {"utf16le.srt", utf16(kText, true), nullptr},
        {"utf16be.srt", utf16(kText, false), nullptr},
        {"cp1252.srt", cue(1, 0, "CAF\xC9 WWWW") + cue(2, 1, "Zwei"), nullptr, "CP1252"},
        {"long-line.srt", cue(1, 0, std::string(10 * 1024 * 1024, 'x')), "subtitleTooLargeMessage"},
        {"wide-line.srt", cue(1, 0, std::string(64 * 1024, 'x')), "subtitleLineTooLongMessage"},
        {"many-cues.srt", manyCues(100000), "subtitleTooManyCuesMessage"},
        {"nested-tags.srt", nestedTags(5000), "subtitleTagsTooDeepMessage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        kt::writeBytes(path, c.bytes);
        SubtitlePanel panel;
        panel.setFontFolder(QString::fromStdString(fonts));
        panel.setPlayer(player.get(), record);
        const SubtitleCheck check = panel.loadSubtitleFile(QString::fromStdString(path));
        EXPECT_EQ(check.ok, c.refusal == nullptr);
        EXPECT_EQ(check.messageKey.toStdString(), std::string(c.refusal ? c.refusal : ""));

        // The engine is asked with the settings the panel would have sent.
        kestrel::model::SubtitleParam param = panel.subtitleParamForExport();
        param.subtitlePath = QString::fromStdString(path);
        param.fontPath = QString::fromStdString(fonts + "/DejaVuSans.ttf");
        const std::string out = dir.file(std::string(c.name) + ".mp4");
        const int32_t rc = convertWith(video, out, param);
        if (c.refusal) {
            EXPECT_LT(rc, 1) << "the export burns what the panel refused";
            continue;
        }
        ASSERT_GE(rc, 1) << "the export refuses what the panel took";
        EXPECT_TRUE(kt::decodesCleanly(out));
        // 30 video pixels on a 240-row picture are 36 rows of the 288-row script canvas.
        const std::string charset = c.charset ? std::string(":charenc=") + c.charset : "";
        const std::string style = "FontName=DejaVu Sans,Fontsize=36,Shadow=1,PrimaryColour=&H00FFFFFF,BackColour=&H00FFFFFF";
        const std::string reference = kt::makeReference(
            dir, std::string(c.name) + "-ref",
            {"-i", video, "-vf",
             "subtitles=filename='" + path + "':fontsdir='" + fonts + "':force_style='" + style + "'" + charset});
        EXPECT_TRUE(kt::framesMatch(out, reference, kt::CompareOptions{30, 0.95, false}));
    }
}
