// One edit state, applied once to the preview player and once to a convert job through the
// session's two bindings: the preview snapshot and the exported frame at the matching time agree.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "engine/core/effect_chains.h"
#include "engine/mediacore/media_core.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/edit/edit_bindings.h"
#include "session/edit/effect_catalogue.h"
#include "session/jobs/engine_handles.h"
#include "session/jobs/engine_outcome.h"
#include "session/media/media_probe.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using kestrel::player::DIVuverIzizud;
using kestrel::session::EditState;
using platform::MediaTime;

namespace kestrel::test {
namespace {

// Exported frames go through an extra yuv 4:2:0 round trip that the preview does not make.
constexpr double kSameFrame = 2.5;
// Settings that move or recolour whole quadrants change the picture at least this much.
constexpr double kLargeChange = 12.0;
// Sepia in the effect list.
constexpr int32_t kSepia = 2;

// Four coloured quadrants (red, green / blue, yellow) with a moving test pattern in the top-left
// one, so orientation, crop and the time shown all change the picture. 320x240, 25 fps, 2 s.
void makeQuadrantClip(const std::string& path, int rotation_deg) {
    const std::string q = ":s=160x120:r=25:d=2";
    const std::string graph = "color=c=red" + q + "[a];color=c=green" + q + "[b];color=c=blue" + q +
                              "[c];color=c=yellow" + q + "[d];testsrc2=s=112x84:r=25:d=2[t];" +
                              "[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack[q];" +
                              "[q][t]overlay=24:18,format=yuv420p";
    const std::string ffmpeg = "ffmpeg -hide_banner -loglevel error -nostdin -y ";
    const std::string encoded = rotation_deg != 0 ? path + ".plain.mp4" : path;
    std::string out;
    if (runCommand(ffmpeg + "-f lavfi -i '" + graph + "' -c:v libx264 -preset ultrafast -g 12 -keyint_min 12 '" + encoded + "'",
                   &out) != 0)
        throw std::runtime_error("quadrant clip: " + out);
    // ffmpeg writes the rotation tag only when it copies the stream.
    if (rotation_deg != 0 && runCommand(ffmpeg + "-i '" + encoded + "' -c copy -metadata:s:v:0 rotate=" +
                                            std::to_string(rotation_deg) + " '" + path + "'", &out) != 0)
        throw std::runtime_error("quadrant clip rotation tag: " + out);
}

const std::string& quadrantClip() {
    static const std::string path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/session_match_quadrants.mp4";
        makeQuadrantClip(p, 0);
        return p;
    }();
    return path;
}

const std::string& turnedQuadrantClip() {
    static const std::string path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/session_match_quadrants_turned.mp4";
        makeQuadrantClip(p, 90);
        return p;
    }();
    return path;
}

const QString& watermarkPicture() {
    static const QString path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/session_match_mark.png";
        makePicture(p, 64, 48, "testsrc");
        return QString::fromStdString(p);
    }();
    return path;
}

const QString& subtitleFile() {
    static const QString path = [] {
        const QString p = QDir::tempPath() + "/session_match_caption.srt";
        QFile file(p);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("caption file");
        file.write("1\n00:00:00,000 --> 00:00:02,000\nKESTREL CAPTION\n\n");
        return p;
    }();
    return path;
}

model::WaterParam pictureMark() {
    model::WaterParam mark;
    mark.waterType = 2;
    mark.isCheck = true;
    mark.waterImagePath = watermarkPicture();
    mark.waterPercentClipRect = QRectF(0.53, 0.06, 0.4, 0.4);  // fractions, bottom-left origin
    mark.waterAlph = 25;
    mark.startTime = 0.8f;
    mark.duration = 0.8f;
    return mark;
}

// A white video watermark whose file length was not measured (0): the preview plays it as a
// video, and so must the export.
model::WaterParam videoMarkOfUnknownLength() {
    static const QString path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/session_match_video_mark.mp4";
        FixtureSpec spec;
        spec.width = 96;
        spec.height = 72;
        spec.audio_streams = 0;
        spec.video_source = "color=c=white";
        makeMedia(p, spec);
        return QString::fromStdString(p);
    }();
    model::WaterParam mark;
    mark.waterType = 2;
    mark.isCheck = true;
    mark.isVideo = true;
    mark.waterImagePath = path;
    mark.fileDuration = 0;
    mark.fileStartTime = 0;
    mark.fileEndTime = 1.5f;
    mark.waterPercentClipRect = QRectF(0.55, 0.05, 0.4, 0.4);  // away from the moving pattern
    mark.startTime = 0.2f;
    mark.duration = 1.5f;
    return mark;
}

model::WaterParam textMark() {
    model::WaterParam mark;
    mark.waterType = 4;
    mark.isCheck = true;
    mark.waterText = QStringLiteral("Kestrel");
    mark.waterFontName = QStringLiteral("DejaVu Sans");
    mark.waterFontSize = 64;
    mark.waterViewFrameWidth = 320;
    mark.waterFontColor = QColor(Qt::magenta);
    mark.waterPercentClipRect = QRectF(0.2, 0.4, 0.7, 0.25);
    mark.startTime = 0.5f;
    mark.duration = 1.0f;
    return mark;
}

std::vector<unsigned char> snapshotRGB(DIVuverIzizud& p, int* width, int* height) {
    int32_t w = p.frameWidth(), h = p.frameHeight();
    std::vector<uint8_t> bgra(size_t(std::max(w, 0)) * size_t(std::max(h, 0)) * 4);
    if (w <= 0 || h <= 0 || p.Snapshot(&w, &h, bgra.data()) != 1) return {};
    std::vector<unsigned char> rgb(size_t(w) * size_t(h) * 3);
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
        rgb[i * 3] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4];
    }
    *width = w;
    *height = h;
    return rgb;
}

// Keeps what a crop with these margins keeps of an RGB24 picture.
std::vector<unsigned char> cropRGB(const std::vector<unsigned char>& rgb, int width, int height, model::RECT m,
                                   int* out_w, int* out_h) {
    *out_w = width - m.left - m.right;
    *out_h = height - m.top - m.bottom;
    if (*out_w <= 0 || *out_h <= 0 || rgb.size() != size_t(width) * height * 3) return {};
    std::vector<unsigned char> out;
    out.reserve(size_t(*out_w) * *out_h * 3);
    for (int y = m.top; y < m.top + *out_h; ++y) {
        const unsigned char* row = rgb.data() + (size_t(y) * width + m.left) * 3;
        out.insert(out.end(), row, row + size_t(*out_w) * 3);
    }
    return out;
}

struct MatchCase {
    const char* name;
    const std::string& (*clip)();
    double source_time_s;
    std::function<void(EditState&)> edit;
    // How far the exported frame must at least be from the unmodified one; 0: not at all.
    double min_change = kLargeChange;
};

int32_t exportWith(const model::SimpleData& source, const EditState& state, const std::string& output) {
    session::ConvertHandle job = session::ConvertHandle::create();
    if (!job) return 0;
    int32_t rc = apiMediaConvertSetInputMedia(job.get(), source.path.toUtf8().constData());
    if (!session::accepted(rc)) return rc;
    session::OutputChoice choice;
    choice.vcodec = QStringLiteral("ffv1");  // intra and lossless: the only loss left is 4:2:0
    const session::ConvertSetup setup = session::configureConvert(job.get(), state, source, choice, std::nullopt);
    if (!setup.ok) return setup.code;
    if (!session::accepted(rc = apiMediaConvertSetOutputPath(job.get(), output.c_str()))) return rc;
    return apiMediaConvertStart(job.get());
}

void expectPreviewMatchesExport(const MatchCase& c) {
    SCOPED_TRACE(c.name);
    const std::string& path = c.clip();
    const model::SimpleDataPtr source = session::probeMediaFile(QString::fromStdString(path), {});
    ASSERT_TRUE(source);
    EditState state;
    if (c.edit) c.edit(state);

    auto player = DIVuverIzizud::initWithString(path, QRectF(0, 0, 320, 240));
    ASSERT_NE(player, nullptr);
    session::applyToPreview(player.get(), state, *source);
    player->seekTime(MediaTime::fromSeconds(c.source_time_s));
    int shown_w = 0, shown_h = 0;
    const std::vector<unsigned char> shown = snapshotRGB(*player, &shown_w, &shown_h);
    ASSERT_FALSE(shown.empty());
    // The preview shows the whole picture; the crop box marks what is kept.
    int w = 0, h = 0;
    const std::vector<unsigned char> preview = cropRGB(shown, shown_w, shown_h, state.cropMargins, &w, &h);

    TempDir dir;
    const std::string output = dir.file("export.mkv");
    ASSERT_GE(exportWith(*source, state, output), 1);
    const double output_time_s = c.source_time_s / state.speed;
    const std::vector<unsigned char> exported = decodeFrameRGB(output, output_time_s, 0, 0);
    ASSERT_EQ(exported.size(), size_t(w) * h * 3) << "preview " << w << "x" << h;

    const double diff = meanAbsDiff(preview, exported);
    EXPECT_LT(diff, kSameFrame);
    // The comparison can tell: the source as it stands (at the output time, scaled to the
    // output size) is far from both, and so is the frame next to the one exported.
    if (c.min_change > 0) {
        const std::vector<unsigned char> unmodified = decodeFrameRGB(path, output_time_s, w, h);
        EXPECT_GT(meanAbsDiff(unmodified, exported), diff + c.min_change);
    }
    const std::vector<unsigned char> neighbour = decodeFrameRGB(output, output_time_s + 0.12 / state.speed, 0, 0);
    EXPECT_GT(meanAbsDiff(preview, neighbour), diff + 1.0);
}

TEST(PreviewMatchesExport, OneEditStateGivesTheSameFrame) {
    session::registerEditorEffects();  // the effect list's ids, as the editor has them
    const MatchCase cases[] = {
        {"plain", quadrantClip, 1.2, nullptr, 0.0},
        {"crop", quadrantClip, 0.8, [](EditState& s) { s.cropMargins = {100, 10, 0, 60}; }},
        {"quarter turn, mirrored, cropped", quadrantClip, 0.4,
         [](EditState& s) {
             s.quarterTurns = 1;
             s.hFlip = true;
             s.cropMargins = {20, 80, 40, 0};
         }},
        {"turned twice, flipped upside down", quadrantClip, 0.6,
         [](EditState& s) {
             s.quarterTurns = 2;
             s.vFlip = true;
         }},
        {"colour", quadrantClip, 1.0,
         [](EditState& s) {
             s.brightness = 40;
             s.contrast = 30;
             s.saturation = -60;
         }},
        {"an effect and magic enhance", quadrantClip, 1.6,
         [](EditState& s) {
             s.effectIds = {kSepia};
             s.magicEnhance = true;
         }},
        {"picture watermark in its time", quadrantClip, 1.2, [](EditState& s) { s.watermarks = {pictureMark()}; }},
        {"picture watermark before its time", quadrantClip, 0.4, [](EditState& s) { s.watermarks = {pictureMark()}; },
         0.0},
        {"video watermark of unmeasured length", quadrantClip, 1.0,
         [](EditState& s) { s.watermarks = {videoMarkOfUnknownLength()}; }},
        {"text watermark", quadrantClip, 1.0, [](EditState& s) { s.watermarks = {textMark()}; }, 1.0},
        {"text watermark on a turned picture", quadrantClip, 1.0,
         [](EditState& s) {
             s.quarterTurns = 3;
             s.watermarks = {textMark()};
         }},
        {"subtitle", quadrantClip, 1.0,
         [](EditState& s) {
             s.subtitle.subtitlePath = subtitleFile();
             s.subtitle.fontColor = QColor(Qt::white);
         },
         1.0},
        // Only the moving pattern tells the source time apart.
        {"speed 2x", quadrantClip, 1.2, [](EditState& s) { s.speed = 2.0; }, 1.5},
        // The player shows a tagged source upright; the export gets the user's turn plus the tag.
        {"rotated source", turnedQuadrantClip, 0.6, nullptr, 0.0},
        {"rotated source and a user quarter turn", turnedQuadrantClip, 0.6,
         [](EditState& s) { s.quarterTurns = 1; }},
    };
    for (const MatchCase& c : cases) expectPreviewMatchesExport(c);
}

// The rotation rule in numbers: the preview takes the user's turn only, the export adds the tag.
TEST(PreviewMatchesExport, RotationRule) {
    EditState state;
    state.setUserAngleDegrees(-90);
    EXPECT_EQ(state.quarterTurns, 3);
    EXPECT_EQ(session::previewRotationDegrees(state), 270);
    EXPECT_EQ(session::exportRotationDegrees(state, 90), 0);
    EXPECT_EQ(session::exportRotationDegrees(state, 180), 90);
    int32_t w = 0, h = 0;
    session::turnedFrameSize(state, 320, 240, &w, &h);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);
}

}  // namespace
}  // namespace kestrel::test
