#include "export/profiles/custom_profile_store.h"

#include "platform/atomic_write.h"

#include "export/profiles/ini_document.h"
#include "export/profiles/output_profile.h"
#include "export/profiles/profile_tree.h"
#include "platform/user_defaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace exportkit {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("CustomProfileStore", text); }

}  // namespace

CustomProfileStore::CustomProfileStore(QString folder) : folder_(std::move(folder)) {}

NameRefusal CustomProfileStore::refusalForName(const QString& name) const {
    if (name.trimmed().isEmpty()) return NameRefusal::Empty;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) return NameRefusal::Separator;
    if (name.startsWith(QLatin1Char('.'))) return NameRefusal::Hidden;
    if (name == kKeepOriginalProfile || QFileInfo::exists(folder_ + QLatin1Char('/') + name + QStringLiteral(".pf")))
        return NameRefusal::Exists;
    return NameRefusal::None;
}

bool CustomProfileStore::saveSettingForpf(const QStringList& lines, const QString& name, QString* error) const {
    if (refusalForName(name) != NameRefusal::None) {
        if (error) *error = tr("the name cannot be used: %1").arg(name);
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        if (error) *error = tr("cannot create folder %1").arg(folder_);
        return false;
    }
    IniDocument document;
    document.setLines(lines);
    document.setCrlf(true);
    return document.save(folder_ + QLatin1Char('/') + name + QStringLiteral(".pf"), false, error);
}

ProfileChoice storedChoiceResolvingCustom(const ChoiceKeys& keys) {
    auto& defaults = platform::UserDefaults::standard();
    ProfileChoice choice;
    choice.loadStored(keys);
    if (choice.resolution == kCustomValue) {
        const qint64 width = defaults.integerForKey(kCustomWidthKey), height = defaults.integerForKey(kCustomHeightKey);
        choice.resolution = width > 0 && height > 0 ? std::optional<QString>(QStringLiteral("%1x%2").arg(width).arg(height))
                                                    : std::nullopt;
    }
    if (choice.bitrate == kCustomValue) {
        const qint64 kbps = defaults.integerForKey(kCustomBitrateKey);
        choice.bitrate = kbps > 0 ? std::optional<QString>(QString::number(kbps)) : std::nullopt;
    }
    return choice;
}

QString optionValueText(const QString& value, QStringList items) {
    if (!value.isEmpty() && !items.contains(value)) items.append(value);
    return value + QStringLiteral(",{") + items.join(QLatin1Char(',')) + QLatin1Char('}');
}

bool CustomProfileStore::saveCustomProfile(const QString& basePath, const ProfileChoice& choice, const QString& name,
                                           QString* error) const {
    IniDocument document;
    if (!document.load(basePath)) {
        document.setLines({QStringLiteral("[Main]"), QStringLiteral("[Parameter]")});
    }
    const OutputProfile base = OutputProfile::read(basePath);
    const auto setOption = [&](const char* key, const std::optional<QString>& chosen, const OptionValue& baseValue) {
        if (!chosen) return;
        document.setValue(QStringLiteral("Parameter"), QLatin1String(key), optionValueText(*chosen, baseValue.items));
    };
    if (choice.extName && !choice.extName->isEmpty()) document.setValue(QStringLiteral("Main"), QStringLiteral("ExtName"), *choice.extName);
    setOption("vcodec", choice.vcodec, base.vcodec);
    setOption("s", choice.resolution, base.size);
    setOption("r", choice.framerate, base.fps);
    setOption("b", choice.bitrate, base.bitrate);
    setOption("acodec", choice.acodec, base.acodec);
    setOption("ac", choice.achannel, base.channels);
    setOption("ar", choice.asamplerate, base.sampleRate);
    setOption("ab", choice.abitrate, base.audioBitrate);
    if (!saveSettingForpf(document.lines(), name, error)) return false;
    const QString picture = QFileInfo(basePath).path() + QLatin1Char('/') + base.name + QStringLiteral(".png");
    const QString pictureCopy = folder_ + QLatin1Char('/') + name + QStringLiteral(".png");
    if (QFileInfo::exists(picture) && !QFileInfo::exists(pictureCopy)) {
        // Copied whole or not at all; a profile whose picture could not be written goes too.
        QFile source(picture);
        QString copyError;
        if (!source.open(QIODevice::ReadOnly) || !platform::writeFileAtomically(pictureCopy, source.readAll(), &copyError)) {
            QFile::remove(folder_ + QLatin1Char('/') + name + QStringLiteral(".pf"));
            if (error) *error = copyError.isEmpty() ? source.errorString() : copyError;
            return false;
        }
    }
    return true;
}

}  // namespace exportkit
