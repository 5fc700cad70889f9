#pragma once
// What the eight pop-ups of the output settings dialog hold and select, and what a choice
// stores. Kept apart from the window so the rules can be checked without one.
#include "export/profiles/profile_choice.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace exportkit::settings {

enum class Setting { VideoCodec, FrameSize, FrameRate, VideoBitrate, AudioCodec, Channels, SampleRate, AudioBitrate };
inline constexpr std::array<Setting, 8> kAllSettings = {Setting::VideoCodec, Setting::FrameSize,  Setting::FrameRate,
                                                        Setting::VideoBitrate, Setting::AudioCodec, Setting::Channels,
                                                        Setting::SampleRate, Setting::AudioBitrate};

bool isVideoSetting(Setting setting);
// The flag reported to the opener (1, 2, 4, ... 128).
int flagOf(Setting setting);
// The opener's user-default key of the setting.
QString keyOf(Setting setting, const ChoiceKeys& keys);
// The profile key ("vcodec", "s", ...).
QString profileKeyOf(Setting setting);
// " fps", " kbps", " hz" or "".
QString unitOf(Setting setting);

// The profile as the dialog reads it: the eight item lists and the profile's own selections.
struct ProfileOptions {
    std::array<QStringList, 8> items;
    std::array<std::optional<QString>, 8> selected;
    bool keepOriginal = false;
};
ProfileOptions readProfileOptions(const QString& pfPath);

struct SettingMenu {
    QStringList titles;
    int selected = 0;
};

// keepOriginalTitle: the localised "Keep_OriginalStringValue". onOpening: the fill when the
// dialog opens (the Default button's fill differs in small ways).
SettingMenu buildMenu(Setting setting, const QStringList& items, const std::optional<QString>& title, bool joinner,
                      bool keepOriginalProfile, bool onOpening, const QString& keepOriginalTitle);

// The value a chosen title stores: the title up to its unit; nothing (remove the key) for the
// Keep Original item.
std::optional<QString> storedValueForTitle(Setting setting, const QString& title, const QString& keepOriginalTitle);

// Custom value bounds: a typed size or bit rate outside them is not stored.
inline constexpr int kMinCustomSide = 16, kMaxCustomSide = 8192;
inline constexpr int kMinCustomBitrate = 16, kMaxCustomBitrate = 200000;

}  // namespace exportkit::settings
