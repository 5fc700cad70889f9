// A short clip converted through the transcoding engine with every shipped editor profile, the
// result checked with ffprobe: container, codecs, frame size, sample rate and channels.
#include "engine/mediacore/media_core.h"
#include "export/profiles/output_profile.h"
#include "export/profiles/profile_tree.h"
#include "export/profiles/target_properties.h"

#include "tests/export/qt_print.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

using namespace exportkit;
using namespace kestrel::test;

namespace {

const QString kBundle = QStringLiteral(KESTREL_SOURCE_DIR "/Settings.bundle");

// The codec name ffprobe reports for a profile's codec name.
std::string probedName(const QString& profileCodec) {
    const QByteArray name = profileCodec.toUtf8();
    if (const AVCodec* codec = avcodec_find_encoder_by_name(name.constData())) return avcodec_get_name(codec->id);
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(name.constData());
    return descriptor ? descriptor->name : "";
}

// The profile's frame size, shrunk by a whole factor to at most 640 wide to keep the run short.
std::pair<int, int> testSize(const QString& size) {
    const QStringList parts = size.split('x');
    int width = leadingInt(parts.first()), height = leadingInt(parts.last());
    for (int factor = 2; width > 640; ++factor) {
        if (width % factor == 0 && height % factor == 0 && (width / factor) % 2 == 0 && (height / factor) % 2 == 0 &&
            width / factor <= 640) {
            width /= factor;
            height /= factor;
        }
    }
    return {width, height};
}

struct JobCloser {
    void* job;
    ~JobCloser() { apiMediaConvertClose(job); }
};

}  // namespace

TEST(ProfileExport, EveryShippedProfileConverts) {
    TempDir dir;
    const std::string source = dir.file("source.mp4");
    FixtureSpec spec;
    spec.duration_s = 0.5;
    makeMedia(source, spec);
    // Audio profiles are checked on a sound-only source: what the engine does with the picture
    // of a video source written to an audio file type is the engine's own matter.
    const std::string soundSource = dir.file("source.m4a");
    FixtureSpec sound = spec;
    sound.width = 0;
    makeMedia(soundSource, sound);

    const ProfileTree tree = ProfileTree::editorTree(kBundle);
    int converted = 0;
    for (const QString& category : tree.getFunctionList()) {
        for (const QString& name : tree.getFunctionItemChildList(category)) {
            const OutputProfile profile = OutputProfile::read(tree.profilePath(category, name));
            if (profile.isKeepOriginal()) continue;
            SCOPED_TRACE((category + "/" + name).toStdString());
            const bool audioOnly = category == kAudioCategory;
            const std::string output = dir.file(QString("out-%1.%2").arg(converted).arg(profile.extName).toStdString());

            void* job = apiMediaConvertCreate();
            ASSERT_NE(job, nullptr);
            JobCloser closer{job};
            ASSERT_GE(apiMediaConvertSetInputMedia(job, (audioOnly ? soundSource : source).c_str()), 1);
            std::pair<int, int> size{0, 0};
            if (!audioOnly) {
                ASSERT_GE(apiMediaConvertSetVcodec(job, profile.vcodec.selected->toUtf8().constData()), 1);
                size = testSize(*profile.size.selected);
                ASSERT_GE(apiMediaConvertSetVideoFrameSize(job, size.first, size.second), 1);
                ASSERT_GE(apiMediaConvertSetVideoBitrate(job, leadingInt(*profile.bitrate.selected)), 1);
                ASSERT_GE(apiMediaConvertSetVideoFps(job, leadingDouble(*profile.fps.selected)), 1);
            }
            ASSERT_GE(apiMediaConvertSetAcodec(job, profile.acodec.selected->toUtf8().constData()), 1);
            if (profile.audioBitrate.selected)
                ASSERT_GE(apiMediaConvertSetAudioBitrate(job, leadingInt(*profile.audioBitrate.selected)), 1);
            const int channels = channelCount(profile.channels.selected);
            const int sampleRate = leadingInt(profile.sampleRate.selected.value_or("0"));
            ASSERT_GE(apiMediaConvertSetAudioEncodeContext(job, channels, sampleRate), 1);
            ASSERT_GE(apiMediaConvertSetOutputPath(job, output.c_str()), 1);
            ASSERT_GE(apiMediaConvertStart(job), 1);
            ++converted;

            const ProbedMedia probed = ffprobe(output);
            ASSERT_TRUE(probed.ok) << probed.error;
            const ProbedStream* audio = probed.firstOf("audio");
            ASSERT_NE(audio, nullptr);
            EXPECT_EQ(audio->codec, probedName(*profile.acodec.selected));
            EXPECT_EQ(audio->sample_rate, sampleRate);
            EXPECT_EQ(audio->channels, channels);
            if (audioOnly) {
                EXPECT_EQ(probed.countOf("video"), 0);
                continue;
            }
            const ProbedStream* video = probed.firstOf("video");
            ASSERT_NE(video, nullptr);
            EXPECT_EQ(video->codec, probedName(*profile.vcodec.selected));
            EXPECT_EQ(video->width, size.first);
            EXPECT_EQ(video->height, size.second);
        }
    }
    EXPECT_GE(converted, 15);
}
