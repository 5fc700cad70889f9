#pragma once
// How an output choice becomes the target properties of a job record. The editor and the
// joiner copy their records' source and target media properties into these plain values.
#include "export/profiles/profile_choice.h"

#include <QString>

namespace exportkit {

struct MediaProperties {
    int width = 0, height = 0;
    int bitrate = 0;       // kbit/s
    double fps = 0;
    QString metadata_vcodec;
    QString extension;
    QString a_codec;
    int a_channel = 0;
    int a_samplerate = 0;  // Hz
    int a_bitrate = 0;     // kbit/s
    float duration = 0;    // seconds
    float fileSize = 0;    // kilobytes (kbit/s x s / 8)
};

// Flags the settings dialog reports with each single change.
enum SettingFlag : int {
    kSettingVideoCodec = 1,
    kSettingFrameSize = 2,
    kSettingFrameRate = 4,
    kSettingVideoBitrate = 8,
    kSettingAudioCodec = 16,
    kSettingChannels = 32,
    kSettingSampleRate = 64,
    kSettingAudioBitrate = 128,
};

// Integer value of a leading number ("1280" of "1280x720"; 0 when there is none).
int leadingInt(const QString& text);
double leadingDouble(const QString& text);
// "2(Stereo)" -> 2; nothing, a single blank or 0 -> 0.
int channelCount(const std::optional<QString>& title);

// Writes the target from a freshly applied choice. An "Audio" category leaves the video
// properties alone. Values the choice leaves open fall back to the source's; the frame rate
// becomes 0 then (the engine keeps the source's).
void writeTargetFromChoice(const ProfileChoice& choice, bool audioCategory, const MediaProperties& source,
                           MediaProperties& target);

// One change reported by the settings dialog: re-reads the changed value from the user
// defaults into choice and writes the matching target property. Unknown flags change nothing.
void applySettingChange(int flag, ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                        MediaProperties& target);

// The dialog's Default button: every setting in flag order, then the size estimate.
void applyAllSettings(ProfileChoice& choice, const ChoiceKeys& keys, const MediaProperties& source,
                      MediaProperties& target);

}  // namespace exportkit
