#include "export/profiles/target_properties.h"
#include "platform/user_defaults.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include "tests/export/qt_print.h"

#include <gtest/gtest.h>

using namespace exportkit;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

MediaProperties sourceClip() {
    MediaProperties source;
    source.width = 1920;
    source.height = 1080;
    source.bitrate = 8000;
    source.fps = 29.97;
    source.metadata_vcodec = "h264";
    source.extension = "mov";
    source.a_codec = "aac";
    source.a_channel = 6;
    source.a_samplerate = 48000;
    source.a_bitrate = 320;
    source.duration = 10;
    return source;
}

class TargetProperties : public ::testing::Test {
protected:
    void TearDown() override {
        auto& defaults = platform::UserDefaults::standard();
        for (const ChoiceKeys* keys : {&ChoiceKeys::editor(), &ChoiceKeys::joiner()})
            for (const QString& key : keys->values()) defaults.removeObjectForKey(key);
        for (const QString& key : {kCustomWidthKey, kCustomHeightKey, kCustomBitrateKey}) defaults.removeObjectForKey(key);
    }
    OutputProfile profileFrom(const std::string& name, const std::string& text) {
        const std::string path = dir_.file(name + ".pf");
        writeBytes(path, text);
        return OutputProfile::read(QString::fromStdString(path));
    }
    TempDir dir_;
};

const char* kMp4 =
    "[Main]\r\nExtName= mp4\t\r\n[Parameter]\r\nvcodec=h264,{h264}\r\ns=1280x720,{640x480,1280x720}\r\nr=25,{25,30}\r\n"
    "b=2000,{1000,2000}\r\nacodec=aac,{aac}\r\nac=2 (Stereo),{1,2 (Stereo)}\r\nar=44100,{44100,48000}\r\nab=128,{128,192}\r\n";

}  // namespace

TEST_F(TargetProperties, ProfileValuesReachTargetAndDefaults) {
    ProfileChoice choice;
    choice.applyProfile(profileFrom("MP4", kMp4), false);
    MediaProperties target;
    target.duration = 10;
    writeTargetFromChoice(choice, false, sourceClip(), target);
    EXPECT_EQ(target.width, 1280);
    EXPECT_EQ(target.height, 720);
    EXPECT_EQ(target.bitrate, 2000);
    EXPECT_DOUBLE_EQ(target.fps, 25);
    EXPECT_EQ(target.extension, "mp4");
    EXPECT_EQ(target.a_channel, 2);
    EXPECT_EQ(target.a_bitrate, 128);
    EXPECT_FLOAT_EQ(target.fileSize, 10 * (2000 + 128) * 0.125f);

    choice.removeSpaces();
    choice.store(ChoiceKeys::editor());
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.stringForKey("achannel_SelectTitle"), "2(Stereo)");
    EXPECT_EQ(defaults.stringForKey("resolution_SelectTitle"), "1280x720");
    EXPECT_EQ(defaults.stringForKey("extName_SelectTitle"), "mp4");

    ProfileChoice restored;
    restored.loadStored(ChoiceKeys::editor());
    EXPECT_EQ(restored.asamplerate, "44100");
}

TEST_F(TargetProperties, KeepOriginalFallsBackToSource) {
    ProfileChoice choice;
    choice.applyProfile(profileFrom("MP4", kMp4), false);
    choice.applyProfile(profileFrom("Keep Original", "[Main]\r\nExtName=\r\n"), false);
    MediaProperties target;
    writeTargetFromChoice(choice, false, sourceClip(), target);
    EXPECT_EQ(target.width, 1920);
    EXPECT_EQ(target.bitrate, 8000);
    EXPECT_DOUBLE_EQ(target.fps, 0);  // the engine keeps the source's rate
    EXPECT_EQ(target.a_channel, 6);
    EXPECT_EQ(target.a_codec, "aac");
}

TEST_F(TargetProperties, AudioProfileLeavesVideoAlone) {
    ProfileChoice choice;
    choice.applyProfile(profileFrom("MP4", kMp4), false);
    choice.applyProfile(profileFrom("MP3", "[Main]\r\nExtName=mp3\r\n[Parameter]\r\nacodec=mp3,{mp3}\r\nab=192,{128,192}\r\n"), true);
    EXPECT_EQ(choice.resolution, "1280x720");
    MediaProperties target = sourceClip();
    target.width = 7;
    writeTargetFromChoice(choice, true, sourceClip(), target);
    EXPECT_EQ(target.width, 7);
    EXPECT_EQ(target.extension, "mp3");
    EXPECT_EQ(target.a_bitrate, 192);
}

TEST_F(TargetProperties, SettingChangesTestTheirOwnValues) {
    auto& defaults = platform::UserDefaults::standard();
    for (const ChoiceKeys* keys : {&ChoiceKeys::editor(), &ChoiceKeys::joiner()}) {
        SCOPED_TRACE(keys->joinner ? "joiner" : "editor");
        ProfileChoice choice;
        MediaProperties target = sourceClip();
        // A sample rate is applied even when no audio bit rate is chosen.
        defaults.removeObjectForKey(keys->abitrate);
        defaults.setString(keys->asamplerate, "22050");
        applySettingChange(kSettingSampleRate, choice, *keys, sourceClip(), target);
        EXPECT_EQ(target.a_samplerate, 22050);
        // An audio bit rate is applied even when no video bit rate is chosen.
        defaults.removeObjectForKey(keys->bitrate);
        defaults.setString(keys->abitrate, "96");
        applySettingChange(kSettingAudioBitrate, choice, *keys, sourceClip(), target);
        EXPECT_EQ(target.a_bitrate, 96);
        EXPECT_FLOAT_EQ(target.fileSize, 10 * (96 + 8000) * 0.125f);
        // Removing the sample rate choice gives the source's back.
        defaults.removeObjectForKey(keys->asamplerate);
        applySettingChange(kSettingSampleRate, choice, *keys, sourceClip(), target);
        EXPECT_EQ(target.a_samplerate, 48000);
    }
}

TEST_F(TargetProperties, CustomSizeAndBitrate) {
    auto& defaults = platform::UserDefaults::standard();
    const ChoiceKeys& keys = ChoiceKeys::joiner();
    ProfileChoice choice;
    MediaProperties target = sourceClip();
    target.height = 600;
    defaults.setString(keys.resolution, "Custom");
    defaults.setInteger(kCustomWidthKey, 1280);
    defaults.removeObjectForKey(kCustomHeightKey);
    applySettingChange(kSettingFrameSize, choice, keys, sourceClip(), target);
    EXPECT_EQ(choice.resolution, "1280x600");
    EXPECT_EQ(target.width, 1280);
    EXPECT_EQ(target.height, 600);

    defaults.setString(keys.bitrate, "Custom");
    defaults.setInteger(kCustomBitrateKey, 2500);
    applySettingChange(kSettingVideoBitrate, choice, keys, sourceClip(), target);
    EXPECT_EQ(choice.bitrate, "2500 kbps");
    EXPECT_EQ(target.bitrate, 2500);

    // Leaving "Custom" forgets the custom size.
    defaults.setString(keys.resolution, "640x480");
    applySettingChange(kSettingFrameSize, choice, keys, sourceClip(), target);
    EXPECT_FALSE(defaults.hasKey(kCustomWidthKey));
    EXPECT_EQ(target.width, 640);
}

// The custom size is shared by the editor and the joiner: the joiner leaving "Custom" keeps it
// while the editor still uses it, and takes it away once neither does.
TEST_F(TargetProperties, ACustomSizeStaysWhileTheOtherWindowUsesIt) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(ChoiceKeys::editor().resolution, "Custom");
    defaults.setInteger(kCustomWidthKey, 800);
    defaults.setInteger(kCustomHeightKey, 600);
    ProfileChoice joinerChoice;
    MediaProperties joinerTarget = sourceClip();
    defaults.setString(ChoiceKeys::joiner().resolution, "640x480");
    applySettingChange(kSettingFrameSize, joinerChoice, ChoiceKeys::joiner(), sourceClip(), joinerTarget);
    EXPECT_EQ(joinerTarget.width, 640);
    EXPECT_EQ(defaults.integerForKey(kCustomWidthKey), 800);
    EXPECT_EQ(defaults.integerForKey(kCustomHeightKey), 600);

    defaults.setString(ChoiceKeys::editor().resolution, "1280x720");
    ProfileChoice editorChoice;
    MediaProperties editorTarget = sourceClip();
    applySettingChange(kSettingFrameSize, editorChoice, ChoiceKeys::editor(), sourceClip(), editorTarget);
    EXPECT_FALSE(defaults.hasKey(kCustomWidthKey));
    EXPECT_FALSE(defaults.hasKey(kCustomHeightKey));
}

TEST(TargetNumbers, LeadingNumbersAndChannels) {
    EXPECT_EQ(leadingInt("1280x720"), 1280);
    EXPECT_EQ(leadingInt("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingDouble("29.97 fps"), 29.97);
    EXPECT_EQ(channelCount(QString("2(Stereo)")), 2);
    EXPECT_EQ(channelCount(QString(" ")), 0);
    EXPECT_EQ(channelCount(std::nullopt), 0);
}
