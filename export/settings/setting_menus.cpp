#include "export/settings/setting_menus.h"

#include "export/profiles/ini_document.h"
#include "export/profiles/profile_tree.h"
#include "export/profiles/target_properties.h"
#include "export/settings/setting_values.h"

#include <QFileInfo>

namespace exportkit::settings {
namespace {

size_t indexOf(Setting setting) { return static_cast<size_t>(setting); }

bool isBlank(const std::optional<QString>& title) { return !title || *title == QLatin1String(" "); }

// Whether the Keep Original item leads the menu.
bool hasKeepOriginalItem(Setting setting, bool joinner, bool keepOriginalProfile, bool onOpening) {
    if (setting == Setting::VideoCodec || setting == Setting::AudioCodec) return keepOriginalProfile && onOpening;
    return !joinner;
}

int integerMatch(const QStringList& items, const QString& title) {
    const int wanted = leadingInt(title);
    for (int i = 0; i < items.size(); ++i)
        if (leadingInt(items[i]) == wanted) return i;
    return -1;
}

int selectionFor(Setting setting, const QStringList& items, const std::optional<QString>& title, bool joinner,
                 bool onOpening) {
    const int offset = joinner ? 0 : 1;
    const int n = static_cast<int>(items.size());
    switch (setting) {
    case Setting::VideoCodec: {
        if (isBlank(title)) return 0;
        QString wanted = *title;
        if (onOpening) wanted.remove(QLatin1Char(' '));
        return std::max(0, static_cast<int>(items.indexOf(wanted)));
    }
    case Setting::AudioCodec:
        return isBlank(title) ? 0 : std::max(0, static_cast<int>(items.indexOf(*title)));
    case Setting::FrameSize: {
        const int fallback = joinner ? n / 2 : 0;
        if (isBlank(title)) return fallback;
        if (*title == kCustomValue) return onOpening ? n + offset : fallback;
        const int at = static_cast<int>(items.indexOf(*title));
        return at >= 0 ? at + offset : fallback;
    }
    case Setting::Channels: {
        const int at = isBlank(title) ? -1 : static_cast<int>(items.indexOf(*title));
        return at >= 0 ? at + offset : 0;
    }
    case Setting::VideoBitrate:
        if (!isBlank(title) && *title == kCustomValue) return joinner ? n : 0;
        [[fallthrough]];
    case Setting::FrameRate:
    case Setting::SampleRate:
    case Setting::AudioBitrate: {
        const int fallback = (setting == Setting::FrameRate && !onOpening && joinner) ? n / 2 : 0;
        if (isBlank(title)) return fallback;
        const int at = integerMatch(items, *title);
        return at >= 0 ? at + offset : fallback;
    }
    }
    return 0;
}

}  // namespace

bool isVideoSetting(Setting setting) { return indexOf(setting) < 4; }

int flagOf(Setting setting) { return 1 << indexOf(setting); }

QString keyOf(Setting setting, const ChoiceKeys& keys) {
    const std::array<QString, 8> names = {keys.vcodec,  keys.resolution, keys.framerate,   keys.bitrate,
                                          keys.acodec,  keys.achannel,   keys.asamplerate, keys.abitrate};
    return names[indexOf(setting)];
}

QString profileKeyOf(Setting setting) {
    static const std::array<QString, 8> names = {QStringLiteral("vcodec"), QStringLiteral("s"),  QStringLiteral("r"),
                                                 QStringLiteral("b"),      QStringLiteral("acodec"), QStringLiteral("ac"),
                                                 QStringLiteral("ar"),     QStringLiteral("ab")};
    return names[indexOf(setting)];
}

QString unitOf(Setting setting) {
    switch (setting) {
    case Setting::FrameRate: return QStringLiteral(" fps");
    case Setting::VideoBitrate:
    case Setting::AudioBitrate: return QStringLiteral(" kbps");
    case Setting::SampleRate: return QStringLiteral(" hz");
    default: return QString();
    }
}

ProfileOptions readProfileOptions(const QString& pfPath) {
    ProfileOptions options;
    options.keepOriginal = QFileInfo(pfPath).completeBaseName() == kKeepOriginalProfile;
    IniDocument file;
    file.load(pfPath);
    for (Setting setting : kAllSettings) {
        const QString value = file.value(QStringLiteral("Parameter"), profileKeyOf(setting)).value_or(QString());
        options.items[indexOf(setting)] = resultContentStrForArr(value).value_or(QStringList());
        options.selected[indexOf(setting)] = resultSelectItemTitleForContentStr(value);
    }
    return options;
}

SettingMenu buildMenu(Setting setting, const QStringList& items, const std::optional<QString>& title, bool joinner,
                      bool keepOriginalProfile, bool onOpening, const QString& keepOriginalTitle) {
    SettingMenu menu;
    if (hasKeepOriginalItem(setting, joinner, keepOriginalProfile, onOpening)) menu.titles.append(keepOriginalTitle);
    for (QString item : items) {
        item.remove(QLatin1Char('"'));
        if (item.isEmpty()) continue;
        menu.titles.append(item + unitOf(setting));
    }
    if (setting == Setting::FrameSize || (setting == Setting::VideoBitrate && joinner)) menu.titles.append(kCustomValue);
    menu.selected = std::clamp(selectionFor(setting, items, title, joinner, onOpening), 0,
                               std::max(0, static_cast<int>(menu.titles.size()) - 1));
    return menu;
}

std::optional<QString> storedValueForTitle(Setting setting, const QString& title, const QString& keepOriginalTitle) {
    if (title == keepOriginalTitle) return std::nullopt;
    const QString unit = unitOf(setting);
    if (!unit.isEmpty() && title.contains(unit)) return title.left(title.indexOf(unit));
    return title;
}

}  // namespace exportkit::settings
