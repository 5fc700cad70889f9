// Outputs for every source the open panels accept: a cut keeps the source's container where
// FFmpeg writes it, and goes to the nearest one that holds its codecs where it does not (MPEG
// program streams to .mpg, transport streams to .ts, the rest to .mkv), named accordingly. One
// case per accepted extension, each a source of the kind the extension names, cut from 1 s to
// 2 s and judged by the media oracle; the splitter and the reverse tool follow the same rule.
#include "session/export/cut/cut_jobs.h"
#include "session/export/output_container.h"
#include "session/export/reverse/reverse_job.h"
#include "session/export/split/split_job.h"
#include "widgets/dialogs/file_kinds.h"

#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace kt = kestrel::test;
using namespace kestrel::session;

namespace {

// A source of the kind an extension names, as ffmpeg makes it, and what its cut is written as.
struct SourceKind {
    const char* extension;
    // ffmpeg's muxer for the source; for extensions whose own container ffmpeg cannot write, the
    // container such files hold (a .MOD is an MPEG-2 program stream, a .TOD a transport stream).
    // Kinds ffmpeg cannot make at all (VP6, NSV, RealMedia's .ivr and .ram, MTV) are stood in
    // for by the nearest file it can make; their content decides the output, not their name.
    const char* muxer;
    const char* videoCodec;  // "" for a sound file
    const char* audioCodec;  // "" for a silent one
    const char* writtenAs;   // the output's extension
    int width = 320, height = 240;
    // Raw elementary streams carry no time stamps: their pictures are timed by count from the
    // stream's frame rate, and ffmpeg cannot seek in them, so their cuts are judged by frame
    // number. A headerless raw picture file cannot be read at all: nothing tells its frame size.
    enum Cut { Cuts, Raw, Unreadable } cut = Cuts;
};

void PrintTo(const SourceKind& kind, std::ostream* out) { *out << "." << kind.extension; }

const std::vector<SourceKind>& sourceKinds() {
    static const std::vector<SourceKind> kinds = {
        // Videos the panels offer.
        {"dts", "dts", "", "dca", "dts"},
        {"webm", "webm", "libvpx", "libvorbis", "webm"},
        {"m1v", "mpeg1video", "mpeg1video", "", "m1v", 320, 240, SourceKind::Raw},
        {"m2t", "mpegts", "mpeg2video", "mp2", "m2t"},
        {"mp2v", "mpeg2video", "mpeg2video", "", "mkv", 320, 240, SourceKind::Raw},
        {"mpe", "mpeg", "mpeg1video", "mp2", "mpg"},
        {"mpv2", "mpeg2video", "mpeg2video", "", "mkv", 320, 240, SourceKind::Raw},
        {"ogm", "ogg", "libtheora", "libvorbis", "mkv"},
        {"ogv", "ogg", "libtheora", "libvorbis", "ogv"},
        {"vp6", "flv", "flv", "libmp3lame", "mkv"},
        {"wm", "asf", "wmv2", "wmav2", "mkv"},
        {"mtv", "avi", "mpeg4", "libmp3lame", "mkv"},
        {"mkv", "matroska", "libx264", "aac", "mkv"},
        {"avi", "avi", "mpeg4", "libmp3lame", "avi"},
        {"flv", "flv", "flv", "libmp3lame", "flv"},
        {"f4v", "f4v", "libx264", "aac", "f4v"},
        {"mp4", "mp4", "libx264", "aac", "mp4"},
        {"m4v", "ipod", "libx264", "aac", "m4v"},
        {"wmv", "asf", "wmv2", "wmav2", "wmv"},
        {"3gp", "3gp", "libx264", "aac", "3gp"},
        {"3g2", "3g2", "libx264", "aac", "3g2"},
        {"3gp2", "3g2", "libx264", "aac", "mkv"},
        {"asf", "asf", "wmv2", "wmav2", "asf"},
        {"mov", "mov", "libx264", "aac", "mov"},
        {"vob", "vob", "mpeg2video", "ac3", "vob"},
        {"mpg", "mpeg", "mpeg1video", "mp2", "mpg"},
        {"rmvb", "rm", "rv20", "ac3", "mkv"},
        {"ivr", "rm", "rv20", "ac3", "mkv"},
        {"nut", "nut", "mpeg4", "libmp3lame", "nut"},
        {"h261", "h261", "h261", "", "h261", 352, 288, SourceKind::Raw},
        {"h264", "h264", "libx264", "", "h264", 320, 240, SourceKind::Raw},
        {"ram", "rm", "rv20", "ac3", "mkv"},
        {"dat", "mpeg", "mpeg1video", "mp2", "mpg", 352, 240},
        {"dv", "dv", "dvvideo", "pcm_s16le", "dv", 720, 576},
        {"dif", "dv", "dvvideo", "pcm_s16le", "mkv", 720, 576},
        {"yuv", "rawvideo", "rawvideo", "", "yuv", 320, 240, SourceKind::Unreadable},
        {"qt", "mov", "libx264", "aac", "mkv"},
        {"mod", "vob", "mpeg2video", "ac3", "mpg", 720, 576},
        {"tod", "mpegts", "mpeg2video", "ac3", "ts"},
        {"mts", "mpegts", "libx264", "ac3", "mts"},
        {"ts", "mpegts", "libx264", "aac", "ts"},
        {"m2ts", "mpegts", "libx264", "ac3", "m2ts"},
        {"tp", "mpegts", "mpeg2video", "mp2", "ts"},
        {"trp", "mpegts", "libx264", "aac", "ts"},
        {"m2p", "vob", "mpeg2video", "mp2", "mpg"},
        {"m2v", "mpeg2video", "mpeg2video", "", "m2v", 320, 240, SourceKind::Raw},
        {"mpv", "mpeg2video", "mpeg2video", "", "mkv", 320, 240, SourceKind::Raw},
        {"nsv", "mpegts", "libx264", "aac", "ts"},
        {"divx", "avi", "mpeg4", "libmp3lame", "mkv"},
        {"webp", "webp", "libwebp", "", "webp"},
        // Sound files the panels offer.
        {"mp3", "mp3", "", "libmp3lame", "mp3"},
        {"mp2", "mp2", "", "mp2", "mp2"},
        {"wma", "asf", "", "wmav2", "wma"},
        {"m4a", "ipod", "", "aac", "m4a"},
        {"aac", "adts", "", "aac", "aac"},
        {"wav", "wav", "", "pcm_s16le", "wav"},
        {"ogg", "ogg", "", "libvorbis", "ogg"},
        {"m4r", "ipod", "", "aac", "m4r"},
        {"ac3", "ac3", "", "ac3", "ac3"},
        {"flac", "flac", "", "flac", "flac"},
    };
    return kinds;
}

bool isVideo(const SourceKind& kind) { return *kind.videoCodec != '\0'; }

// Three seconds of the kind, a key frame every second.
std::string makeSource(const kt::TempDir& dir, const SourceKind& kind) {
    const std::string path = dir.file(std::string("source.") + kind.extension);
    kt::FixtureSpec spec;
    spec.duration_s = 3;
    spec.width = isVideo(kind) ? kind.width : 0;
    spec.height = kind.height;
    spec.video_codec = kind.videoCodec;
    spec.gop = 25;
    spec.audio_streams = *kind.audioCodec ? 1 : 0;
    spec.audio_codec = kind.audioCodec;
    if (std::string(kind.audioCodec) == "dca" || std::string(kind.audioCodec) == "pcm_s16le" ||
        std::string(kind.audioCodec) == "ac3" || std::string(kind.videoCodec) == "dvvideo")
        spec.sample_rate = 48000;
    spec.extra_args = {"-f", kind.muxer};
    if (std::string(kind.audioCodec) == "dca") spec.extra_args.insert(spec.extra_args.begin(), {"-strict", "-2"});
    if (std::string(kind.videoCodec) == "libwebp") {
        spec.duration_s = 0.04;  // one picture
        spec.gop = 0;
    }
    kt::makeMedia(path, spec);
    return path;
}

QStringList filesIn(const std::string& folder) { return QDir(QString::fromStdString(folder)).entryList(QDir::Files); }

JobResult run(Job& job) {
    JobResult result;
    bool ended = false;
    QObject::connect(&job, &Job::finished, [&](const JobResult& r) {
        result = r;
        ended = true;
    });
    job.start();
    EXPECT_TRUE(kt::waitUntil([&] { return ended; }));
    return result;
}

class EveryAcceptedSource : public ::testing::TestWithParam<SourceKind> {};
class CutOfEveryAcceptedSource : public ::testing::TestWithParam<SourceKind> {};

std::vector<SourceKind> kindsThat(SourceKind::Cut cut) {
    std::vector<SourceKind> kinds;
    for (const SourceKind& kind : sourceKinds())
        if (kind.cut == cut) kinds.push_back(kind);
    return kinds;
}

std::string nameOf(const ::testing::TestParamInfo<SourceKind>& info) { return info.param.extension; }

// What a cut from 1 s to 2 s of the source must show: for a raw stream the pictures counted
// from its frame rate (ffmpeg places no time in one), else that second of the source.
kt::FrameSource cutFrom(const std::string& source, const SourceKind& kind) {
    if (kind.cut != SourceKind::Raw) return kt::timeRangeOf(source, 1.0, 1.0);
    const kt::ProbedMedia probed = kt::ffprobe(source);
    const kt::ProbedStream* video = probed.firstOf("video");
    int num = 0, den = 1;
    if (video) std::sscanf(video->r_frame_rate.c_str(), "%d/%d", &num, &den);
    const double fps = den > 0 ? double(num) / den : 0;
    return kt::framesOf(source, int(std::ceil(fps - 0.0005 * fps)), int(std::ceil(2 * fps - 0.0005 * fps)));
}

}  // namespace

// The table holds every extension the open panels accept for videos and sound, and no other.
TEST(OutputContainer, TheTableCoversEveryExtensionThePanelsAccept) {
    QSet<QString> accepted;
    for (const QString& type : kestrel::widgets::openPanelFileTypes(false, true)) accepted.insert(type);
    QSet<QString> covered;
    for (const SourceKind& kind : sourceKinds()) covered.insert(QString::fromLatin1(kind.extension));
    EXPECT_EQ(covered, accepted);
}

TEST(OutputContainer, AWritableExtensionIsKeptAsItIsWritten) {
    EXPECT_TRUE(hasContainerWriter("MOV"));
    EXPECT_TRUE(hasContainerWriter("m4r"));
    EXPECT_FALSE(hasContainerWriter("mod"));
    EXPECT_FALSE(hasContainerWriter(""));
    EXPECT_EQ(writableOutputExtension("/nowhere/clip.MOV", "MOV"), "MOV");
    EXPECT_EQ(writableOutputPath("/nowhere/clip.MOV", "/out/a.MOV"), "/out/a.MOV");
}

// What the source holds decides the container when its extension has no writer.
TEST_P(EveryAcceptedSource, TheOutputIsNamedForAContainerThatHoldsIt) {
    const SourceKind& kind = GetParam();
    kt::TempDir dir;
    const QString source = QString::fromStdString(makeSource(dir, kind));
    EXPECT_EQ(writableOutputExtension(source, kind.extension), kind.writtenAs);
    EXPECT_EQ(writableOutputExtension(source, QString::fromLatin1(kind.extension).toUpper()),
              QString::fromLatin1(kind.writtenAs) == kind.extension ? QString::fromLatin1(kind.extension).toUpper()
                                                                     : QString::fromLatin1(kind.writtenAs));
    const QString renamed = writableOutputPath(source, QString::fromStdString(dir.file("out.")) + kind.extension);
    EXPECT_EQ(renamed, QString::fromStdString(dir.file("out.")) + kind.writtenAs);
}

TEST_P(CutOfEveryAcceptedSource, ACutIsWrittenInAContainerThatHoldsIt) {
    const SourceKind& kind = GetParam();
    kt::TempDir dir;
    const std::string source = makeSource(dir, kind);
    const std::string folder = dir.file("out");
    const bool still = std::string(kind.videoCodec) == "libwebp";
    // A still picture has no time to cut from: it is taken whole.
    const CutRange range = still ? CutRange{} : CutRange{1000000, 2000000};
    CutJob job(QString::fromStdString(source), {range}, {QString::fromStdString(folder), "clip", QFileInfo(QString::fromStdString(source)).suffix()});
    const JobResult result = run(job);
    ASSERT_TRUE(result.done()) << kind.extension << ": code " << result.code << " " << result.message.toStdString();
    ASSERT_EQ(filesIn(folder), QStringList{QStringLiteral("clip.") + kind.writtenAs});
    const std::string written = folder + "/clip." + kind.writtenAs;
    EXPECT_EQ(result.outputs, QStringList{QString::fromStdString(written)});
    EXPECT_TRUE(kt::decodesCleanly(written));
    if (isVideo(kind)) {
        kt::CompareOptions options;
        options.min_psnr_db = 30;
        options.min_ssim = 0.9;
        EXPECT_TRUE(kt::framesMatch(written, still ? kt::FrameSource(source) : cutFrom(source, kind), options));
    }
    if (*kind.audioCodec) {
        const kt::SoundLevels levels = kt::soundLevels(written);
        EXPECT_TRUE(kt::soundThroughout(levels, 0.1, 0.9));
        EXPECT_TRUE(kt::toneThroughout(levels, 0.1, 0.9, 440));
    }
}

INSTANTIATE_TEST_SUITE_P(OutputContainer, EveryAcceptedSource, ::testing::ValuesIn(sourceKinds()), nameOf);
INSTANTIATE_TEST_SUITE_P(OutputContainer, CutOfEveryAcceptedSource, ::testing::ValuesIn(kindsThat(SourceKind::Cuts)), nameOf);
INSTANTIATE_TEST_SUITE_P(RawStreams, CutOfEveryAcceptedSource, ::testing::ValuesIn(kindsThat(SourceKind::Raw)), nameOf);

// A camcorder's .MOD split into pieces: each piece is an .mpg, and together they show every
// source frame once.
TEST(OutputContainer, SplitPiecesOfAProgramStreamAreMpg) {
    kt::TempDir dir;
    const SourceKind mod{"mod", "vob", "mpeg2video", "ac3", "mpg", 720, 576};
    const std::string source = makeSource(dir, mod);
    SplitPlan plan;
    plan.sourcePath = QString::fromStdString(source);
    plan.endFractions = {1.0 / 3.0, 1.0};
    plan.folder = QString::fromStdString(dir.file("pieces"));
    plan.baseName = "source-split";
    plan.extension = "mod";
    SplitJob job(plan);
    const JobResult result = run(job);
    ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
    ASSERT_EQ(filesIn(dir.file("pieces")), (QStringList{"source-split1.mpg", "source-split2.mpg"}));
    std::vector<kt::FrameSource> pieces;
    for (const QString& piece : result.outputs) {
        EXPECT_TRUE(kt::decodesCleanly(piece.toStdString()));
        pieces.emplace_back(piece.toStdString());
    }
    EXPECT_TRUE(kt::piecesShowSourceFramesOnce(kt::mapPieces(pieces, source), 0, 75));
}

// A VCD's .DAT reversed with the "Original" format: the output is an .mpg showing the source
// frames backwards.
TEST(OutputContainer, AnOriginalReverseOfAVcdFileIsMpg) {
    kt::TempDir dir;
    const SourceKind dat{"dat", "mpeg", "mpeg1video", "mp2", "mpg", 352, 240};
    const std::string source = makeSource(dir, dat);
    ReverseRequest request;
    request.inputPath = QString::fromStdString(source);
    request.outputPath = QString::fromStdString(dir.file("source_20240301100000.dat"));
    request.start_us = 0;
    request.end_us = 2000000;
    ReverseJob job(request);
    const JobResult result = run(job);
    ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
    const std::string written = dir.file("source_20240301100000.mpg");
    EXPECT_EQ(result.outputs, QStringList{QString::fromStdString(written)});
    EXPECT_FALSE(QFileInfo::exists(request.outputPath));
    EXPECT_TRUE(kt::decodesCleanly(written));
    std::vector<int> backwards;
    for (int frame = 49; frame >= 0; --frame) backwards.push_back(frame);
    EXPECT_TRUE(kt::showsSourceSequence(kt::mapFrames(written, source), backwards));
}

// Raw elementary streams, timed by count: a split of an MPEG-2 stream shows every source frame
// once over its pieces, and a reverse of an H.264 stream shows the source frames backwards.
TEST(OutputContainer, RawStreamsSplitAndReverseByCountedPictures) {
    kt::TempDir dir;
    const SourceKind m2v{"m2v", "mpeg2video", "mpeg2video", "", "m2v", 320, 240, SourceKind::Raw};
    const std::string stream = makeSource(dir, m2v);
    SplitPlan plan;
    plan.sourcePath = QString::fromStdString(stream);
    plan.endFractions = {0.5, 1.0};
    plan.folder = QString::fromStdString(dir.file("pieces"));
    plan.baseName = "source-split";
    plan.extension = "m2v";
    SplitJob split(plan);
    const JobResult pieces_result = run(split);
    ASSERT_TRUE(pieces_result.done()) << pieces_result.code << " " << pieces_result.message.toStdString();
    std::vector<kt::FrameSource> pieces;
    for (const QString& piece : pieces_result.outputs) {
        EXPECT_TRUE(kt::decodesCleanly(piece.toStdString()));
        pieces.emplace_back(piece.toStdString());
    }
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_TRUE(kt::piecesShowSourceFramesOnce(kt::mapPieces(pieces, stream), 0, 75));

    const SourceKind h264{"h264", "h264", "libx264", "", "h264", 320, 240, SourceKind::Raw};
    const std::string source = makeSource(dir, h264);
    ReverseRequest request;
    request.inputPath = QString::fromStdString(source);
    request.outputPath = QString::fromStdString(dir.file("reversed.h264"));
    request.start_us = 0;
    request.end_us = 2000000;
    ReverseJob reverse(request);
    const JobResult result = run(reverse);
    ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
    ASSERT_EQ(result.outputs.size(), 1);
    const std::string written = result.outputs.front().toStdString();
    EXPECT_TRUE(kt::decodesCleanly(written));
    std::vector<int> backwards;
    for (int frame = 49; frame >= 0; --frame) backwards.push_back(frame);
    EXPECT_TRUE(kt::showsSourceSequence(kt::mapFrames(written, source), backwards));
}
