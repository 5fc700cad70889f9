#include <gtest/gtest.h>

#include "platform/user_defaults.h"
#include "session/media/media_probe.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::test;

TEST(EditorProbe, FillsTheJobRecordFromTheFile) {
    TempDir dir;
    const std::string path = dir.file("clip.mov");
    FixtureSpec spec;
    spec.duration_s = 2.0;
    spec.frame_rate = "30000/1001";
    makeMedia(path, spec);
    const ProbedMedia oracle = ffprobe(path);
    ASSERT_TRUE(oracle.ok);

    const auto record = kestrel::session::probeMediaFile(QString::fromStdString(path), {});
    ASSERT_TRUE(record);
    const kestrel::model::SimpleData& r = *record;
    EXPECT_EQ(r.name, QStringLiteral("clip.mov"));
    EXPECT_EQ(r.sourceData.extension, QStringLiteral("mov"));
    EXPECT_EQ(r.sourceData.width, 320);
    EXPECT_EQ(r.sourceData.height, 240);
    EXPECT_NEAR(r.sourceData.fps, 30000.0 / 1001.0, 1e-3);  // kept, not truncated to 29
    EXPECT_NEAR(r.sourceData.duration, oracle.duration_s, 0.1);
    EXPECT_FLOAT_EQ(r.targetData.duration, r.sourceData.duration);
    EXPECT_EQ(r.sourceData.a_channel, 2);
    EXPECT_EQ(r.sourceData.a_samplerate, 44100);
    ASSERT_EQ(r.audioStreamInfos.size(), 1);
    EXPECT_EQ(r.audioStreamInfos[0].index, oracle.firstOf("audio")->index);
    // The record keeps kbit/s; the stream list keeps the engine's bit/s.
    EXPECT_EQ(r.sourceData.a_bitrate, r.audioStreamInfos[0].bitrate / 1000);
    EXPECT_EQ(r.thumbImage.size(), QSize(240, 180));
    EXPECT_GT(r.sourceData.fileSize, 0.0f);
    // No saved choices: the target is the source.
    EXPECT_EQ(r.targetData.width, 320);
    EXPECT_EQ(r.targetData.height, 240);
    EXPECT_EQ(r.targetData.extension, QStringLiteral("mov"));
}

TEST(EditorProbe, RotatedSourcesReportTheShownSize) {
    TempDir dir;
    const std::string path = dir.file("portrait.mp4");
    FixtureSpec spec;
    spec.rotation_deg = 90;
    spec.duration_s = 1.0;
    makeMedia(path, spec);
    const auto record = kestrel::session::probeMediaFile(QString::fromStdString(path), {});
    ASSERT_TRUE(record);
    EXPECT_EQ(record->sourceData.width, 240);
    EXPECT_EQ(record->sourceData.height, 320);
    EXPECT_EQ(record->thumbImage.size(), QSize(135, 180));
}

TEST(EditorProbe, ListsEveryAudioStreamAc3Included) {
    TempDir dir;
    const std::string path = dir.file("two.mkv");
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.audio_streams = 2;
    spec.audio_codec = "ac3";
    makeMedia(path, spec);
    const ProbedMedia oracle = ffprobe(path);
    const auto streams = kestrel::session::getAudioStreamInfomation(QString::fromStdString(path));
    ASSERT_EQ(streams.size(), oracle.countOf("audio"));
    ASSERT_EQ(streams.size(), 2);
    EXPECT_EQ(streams[0].codec.toLower(), QStringLiteral("ac3"));
    EXPECT_NE(streams[0].index, streams[1].index);
    const auto record = kestrel::session::probeMediaFile(QString::fromStdString(path), {});
    ASSERT_TRUE(record);
    EXPECT_EQ(record->sourceData.a_codec.toLower(), QStringLiteral("ac3"));
}

TEST(EditorProbe, SavedChoicesShapeTheTarget) {
    kestrel::model::SimpleData r;
    r.sourceData.exist = 1;
    r.sourceData.width = 640;
    r.sourceData.height = 360;
    r.sourceData.bitrate = 900;
    r.sourceData.a_bitrate = 128;
    r.sourceData.extension = QStringLiteral("mov");
    const struct {
        const char* resolution;
        int w, h;
    } sizes[] = {{"1280x720", 1280, 720}, {"480", 480, 480}, {"axb", 640, 360}, {"", 640, 360}};
    for (const auto& c : sizes) {
        kestrel::session::SavedOutputChoices choices;
        choices.resolution = QString::fromLatin1(c.resolution);
        kestrel::session::fillTarget(r, choices);
        EXPECT_EQ(r.targetData.width, c.w) << c.resolution;
        EXPECT_EQ(r.targetData.height, c.h) << c.resolution;
        EXPECT_EQ(r.targetData.extension, QStringLiteral("mov"));
    }
    kestrel::session::SavedOutputChoices choices;
    choices.extName = QStringLiteral("mp4");
    choices.bitate = QStringLiteral("2000");
    choices.abitate = QStringLiteral("192.7");
    choices.framerate = QStringLiteral("25");
    choices.vcodec = QStringLiteral("h264");
    kestrel::session::fillTarget(r, choices);
    EXPECT_EQ(r.targetData.extension, QStringLiteral("mp4"));
    EXPECT_EQ(r.targetData.bitrate, 2000);
    EXPECT_EQ(r.targetData.a_bitrate, 192);
    EXPECT_EQ(r.targetData.fps, 25.0);
    EXPECT_EQ(r.targetData.metadata_vcodec, QStringLiteral("h264"));

    platform::UserDefaults::standard().setString(QStringLiteral("resolution_SelectTitle"), QStringLiteral("800x600"));
    EXPECT_EQ(kestrel::session::SavedOutputChoices::read().resolution, QStringLiteral("800x600"));
    platform::UserDefaults::standard().removeObjectForKey(QStringLiteral("resolution_SelectTitle"));
}

TEST(EditorProbe, RefusesWhatIsNotMedia) {
    TempDir dir;
    writeBytes(dir.file("junk.mp4"), "not a movie at all");
    EXPECT_FALSE(kestrel::session::probeMediaFile(QString::fromStdString(dir.file("junk.mp4")), {}));
    EXPECT_FALSE(kestrel::session::probeMediaFile(QString::fromStdString(dir.file("missing.mp4")), {}));
    EXPECT_TRUE(kestrel::session::getAudioStreamInfomation(QString::fromStdString(dir.file("missing.mp4"))).isEmpty());
}
