#include "export/profiles/profile_choice.h"

#include "platform/user_defaults.h"

namespace exportkit {
namespace {

std::optional<QString> selectedOf(const OptionValue& value) { return value.selected; }

}  // namespace

const ChoiceKeys& ChoiceKeys::editor() {
    static const ChoiceKeys keys{QStringLiteral("extName_SelectTitle"),    QStringLiteral("vcodec_SelectTitle"),
                                 QStringLiteral("resolution_SelectTitle"), QStringLiteral("framerate_SelectTitle"),
                                 QStringLiteral("bitate_SelectTitle"),     QStringLiteral("acodec_SelectTitle"),
                                 QStringLiteral("achannel_SelectTitle"),   QStringLiteral("asamplerate_SelectTitle"),
                                 QStringLiteral("abitate_SelectTitle"),    QStringLiteral("edit_selectItemIndex"),
                                 QStringLiteral("selectFunListItemIndex"), false};
    return keys;
}

const ChoiceKeys& ChoiceKeys::joiner() {
    static const ChoiceKeys keys{QStringLiteral("joinner_extNameSelectTitle"), QStringLiteral("vcodecSelectTitle"),
                                 QStringLiteral("resolutionSelectTitle"),      QStringLiteral("framerateSelectTitle"),
                                 QStringLiteral("bitateSelectTitle"),          QStringLiteral("acodecSelectTitle"),
                                 QStringLiteral("achannelSelectTitle"),        QStringLiteral("asamplerateSelectTitle"),
                                 QStringLiteral("abitateSelectTitle"),         QStringLiteral("joinner_selectItemIndex"),
                                 QStringLiteral("joinner_selectFunListItemIndex"), true};
    return keys;
}

std::array<QString, 9> ChoiceKeys::values() const {
    return {extName, vcodec, resolution, framerate, bitrate, acodec, achannel, asamplerate, abitrate};
}

QString pageKeyForCategory(const QString& category) { return category + QStringLiteral("_selectFunctionOfsetIndex"); }

std::array<std::optional<QString>*, 9> ProfileChoice::all() {
    return {&extName, &vcodec, &resolution, &framerate, &bitrate, &acodec, &achannel, &asamplerate, &abitrate};
}

std::array<const std::optional<QString>*, 9> ProfileChoice::all() const {
    return {&extName, &vcodec, &resolution, &framerate, &bitrate, &acodec, &achannel, &asamplerate, &abitrate};
}

void ProfileChoice::clear() {
    for (auto* value : all()) value->reset();
}

void ProfileChoice::applyProfile(const OutputProfile& profile, bool audioCategory) {
    const bool keep = profile.isKeepOriginal();
    if (!audioCategory) {
        vcodecs = profile.vcodec.items;
        resolutions = profile.size.items;
        framerates = profile.fps.items;
        bitrates = profile.bitrate.items;
        vcodec = keep ? std::nullopt : selectedOf(profile.vcodec);
        resolution = keep ? std::nullopt : selectedOf(profile.size);
        framerate = keep ? std::nullopt : selectedOf(profile.fps);
        bitrate = keep ? std::nullopt : selectedOf(profile.bitrate);
    }
    if (keep) {
        acodec.reset();
        achannel.reset();
        asamplerate.reset();
        abitrate.reset();
        return;
    }
    extName = profile.extName;
    acodecs = profile.acodec.items;
    achannels = profile.channels.items;
    asamplerates = profile.sampleRate.items;
    abitrates = profile.audioBitrate.items;
    acodec = selectedOf(profile.acodec);
    achannel = selectedOf(profile.channels);
    asamplerate = selectedOf(profile.sampleRate);
    abitrate = selectedOf(profile.audioBitrate);
}

void ProfileChoice::removeSpaces() {
    for (auto* value : all())
        if (*value) (*value)->remove(QLatin1Char(' '));
}

void ProfileChoice::store(const ChoiceKeys& keys) const {
    auto& defaults = platform::UserDefaults::standard();
    const auto names = keys.values();
    const auto values = all();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::optional<QString>& value = *values[i];
        if (value && !value->isEmpty())
            defaults.setString(names[i], *value);
        else
            defaults.removeObjectForKey(names[i]);
    }
}

void ProfileChoice::loadStored(const ChoiceKeys& keys) {
    auto& defaults = platform::UserDefaults::standard();
    const auto names = keys.values();
    const auto values = all();
    for (size_t i = 0; i < names.size(); ++i) {
        if (defaults.hasKey(names[i]))
            *values[i] = defaults.stringForKey(names[i]);
        else
            values[i]->reset();
    }
}

void removeStoredChoice(const ChoiceKeys& keys) {
    for (const QString& key : keys.values()) platform::UserDefaults::standard().removeObjectForKey(key);
}

}  // namespace exportkit
