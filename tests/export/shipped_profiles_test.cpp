// Every profile shipped in the two trees parses, names encoders this FFmpeg has and a
// container that accepts them, and has its picture source.
#include "export/profiles/output_profile.h"
#include "export/profiles/profile_tree.h"

#include "tests/export/qt_print.h"

#include <QFileInfo>
#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

using namespace exportkit;

namespace {

const QString kBundle = QStringLiteral(KESTREL_SOURCE_DIR "/Settings.bundle");

const AVCodec* encoderFor(const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    if (const AVCodec* codec = avcodec_find_encoder_by_name(utf8.constData())) return codec;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(utf8.constData());
    return descriptor ? avcodec_find_encoder(descriptor->id) : nullptr;
}

void checkCodec(const AVOutputFormat* muxer, const std::optional<QString>& codec, AVMediaType type) {
    ASSERT_TRUE(codec.has_value());
    const AVCodec* encoder = encoderFor(*codec);
    ASSERT_NE(encoder, nullptr) << "no encoder for " << codec->toStdString();
    EXPECT_EQ(encoder->type, type);
    // Muxers that cannot answer the query take at least their default codecs.
    const int answer = avformat_query_codec(muxer, encoder->id, FF_COMPLIANCE_NORMAL);
    const bool isDefault = encoder->id == muxer->video_codec || encoder->id == muxer->audio_codec;
    EXPECT_TRUE(answer == 1 || isDefault || answer == AVERROR_PATCHWELCOME)
        << muxer->name << " does not take " << codec->toStdString();
}

void checkTree(const ProfileTree& tree, const QString& treeName) {
    const QStringList categories = tree.getFunctionList();
    ASSERT_EQ(categories, (QStringList{"Video", "Audio"}));
    EXPECT_FALSE(tree.profilePath("Video", "mkv(HEVC)").isEmpty()) << "the fallback profile is missing";
    int profiles = 0;
    for (const QString& category : categories) {
        const QStringList names = tree.getFunctionItemChildList(category);
        ASSERT_FALSE(names.isEmpty());
        for (const QString& name : names) {
            SCOPED_TRACE((treeName + "/" + category + "/" + name).toStdString());
            ++profiles;
            const QString svg = kBundle + "/icons/" + treeName + "/" + category + "/" + name + ".svg";
            EXPECT_TRUE(QFileInfo::exists(svg)) << "no picture source " << svg.toStdString();
            const OutputProfile profile = OutputProfile::read(tree.profilePath(category, name));
            if (profile.isKeepOriginal()) continue;
            ASSERT_FALSE(profile.extName.isEmpty());
            const QByteArray probeName = ("x." + profile.extName).toUtf8();
            const AVOutputFormat* muxer = av_guess_format(nullptr, probeName.constData(), nullptr);
            ASSERT_NE(muxer, nullptr) << "no container for ." << profile.extName.toStdString();
            checkCodec(muxer, profile.acodec.selected, AVMEDIA_TYPE_AUDIO);
            EXPECT_GT(profile.sampleRate.selected.value_or("0").toInt(), 0);
            EXPECT_TRUE(profile.sampleRate.items.contains(*profile.sampleRate.selected));
            if (category == kAudioCategory) continue;
            checkCodec(muxer, profile.vcodec.selected, AVMEDIA_TYPE_VIDEO);
            EXPECT_TRUE(profile.size.items.contains(profile.size.selected.value_or("")));
            EXPECT_TRUE(profile.size.selected.value_or("").contains('x'));
            EXPECT_GT(profile.fps.selected.value_or("0").toDouble(), 0);
            EXPECT_GT(profile.bitrate.selected.value_or("0").toInt(), 0);
        }
    }
    EXPECT_GE(profiles, 17);
}

}  // namespace

TEST(ShippedProfiles, EditorTree) { checkTree(ProfileTree::editorTree(kBundle), "functionFolder"); }

TEST(ShippedProfiles, JoinerTree) { checkTree(ProfileTree::joinerTree(kBundle), "pf_join"); }
