#pragma once
// The output choice of the editor or the joiner: the nine chosen values (extension, video
// codec, frame size, frame rate, video bit rate, audio codec, channels, sample rate, audio
// bit rate), the option lists of the profile they came from, and the user-default keys under
// which they outlive the window.
#include "export/profiles/output_profile.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace exportkit {

// The user-default keys of one opener.
struct ChoiceKeys {
    QString extName, vcodec, resolution, framerate, bitrate, acodec, achannel, asamplerate, abitrate;
    QString selectItemIndex;         // tag of the chosen profile button
    QString selectFunListItemIndex;  // 1-based category of the chosen profile
    bool joinner = false;

    static const ChoiceKeys& editor();
    static const ChoiceKeys& joiner();
    std::array<QString, 9> values() const;
};

// Custom values shared by both openers.
inline const QString kCustomWidthKey = QStringLiteral("resolutionSelectCustom-Width");
inline const QString kCustomHeightKey = QStringLiteral("resolutionSelectCustom-Height");
inline const QString kCustomBitrateKey = QStringLiteral("bitSelectCustom-Value");
inline const QString kCustomValue = QStringLiteral("Custom");

// "%@_selectFunctionOfsetIndex": the page last shown for a category.
QString pageKeyForCategory(const QString& category);

struct ProfileChoice {
    std::optional<QString> extName, vcodec, resolution, framerate, bitrate, acodec, achannel, asamplerate, abitrate;
    QStringList vcodecs, resolutions, framerates, bitrates, acodecs, achannels, asamplerates, abitrates;

    // Clears the nine values (the lists stay).
    void clear();
    // Takes a profile's lists and selected values. A profile of the "Audio" category leaves
    // the video part as it is; "Keep Original" clears the values instead of setting them and
    // leaves the extension and the audio lists alone.
    void applyProfile(const OutputProfile& profile, bool audioCategory);
    // Every space removed from the nine values.
    void removeSpaces();
    // Stores each non-empty value under its key and removes the keys of the others.
    void store(const ChoiceKeys& keys) const;
    // Reads the nine values back from the user defaults (absent keys give no value).
    void loadStored(const ChoiceKeys& keys);

    std::array<std::optional<QString>*, 9> all();
    std::array<const std::optional<QString>*, 9> all() const;
};

// Removes the nine keys from the user defaults.
void removeStoredChoice(const ChoiceKeys& keys);

}  // namespace exportkit
