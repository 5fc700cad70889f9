// The words the audio-track box names a track with.
#include <gtest/gtest.h>

#include "model/audio_stream_info.h"
#include "services/language.h"
#include "session/media/audio_track_names.h"

using kestrel::session::audioTrackName;
using kestrel::session::languageNameOfCode;

TEST(AudioTrackNames, LanguagesInTheirOwnWordsWithoutARegion) {
    const struct {
        const char* code;
        const char* name;
    } cases[] = {{"eng", "English"}, {"fre", "Français"}, {"ger", "Deutsch"}, {"spa", "Español"}, {"jpn", "日本語"},
                 {"ara", "العربية"}, {"fr", "Français"}, {" ENG ", "English"}, {"und", ""}, {"", ""}, {"xx", ""}};
    for (const auto& c : cases) EXPECT_EQ(languageNameOfCode(QString::fromUtf8(c.code)), QString::fromUtf8(c.name)) << c.code;
}

TEST(AudioTrackNames, NumberLanguageChannelsAndRate) {
    using services::localized;
    const QString n2 = localized("AudioTrackNumber").arg(2);
    kestrel::model::AudioStreamInfo s;
    s.lang = "ger";
    s.channel = 6;
    s.sample = 48000;
    EXPECT_EQ(audioTrackName(s, 1), QStringList({n2, "Deutsch", localized("AudioTrackChannels").arg(6),
                                                 localized("AudioTrackSampleRate").arg(48000)})
                                        .join(" · "));
    s.lang.clear();
    s.channel = 1;
    EXPECT_EQ(audioTrackName(s, 1), QStringList({n2, localized("AudioTrackMono"), localized("AudioTrackSampleRate").arg(48000)})
                                        .join(" · "));
    // Nothing known but the place: the number alone, never "0 Hz".
    EXPECT_EQ(audioTrackName(kestrel::model::AudioStreamInfo{}, 0), localized("AudioTrackNumber").arg(1));
    EXPECT_NE(localized("AudioTrackNumber"), QStringLiteral("AudioTrackNumber")) << "the key has a text";
}
