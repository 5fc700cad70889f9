#pragma once
// Custom output profiles: named copies of a profile with the user's chosen values, kept as
// "<name>.pf" (and its picture "<name>.png") in the per-user "Custom" folder.
#include "export/profiles/profile_choice.h"

#include <QString>
#include <QStringList>

namespace exportkit {

// Why a name cannot name a profile file. Hidden: it begins with "." and the file would be hidden,
// so the list would never show it.
enum class NameRefusal { None, Empty, Separator, Exists, Hidden };

class CustomProfileStore {
public:
    explicit CustomProfileStore(QString folder);

    const QString& folder() const { return folder_; }

    // Why a name cannot be used: empty or blank, contains a path separator, or names an
    // existing custom profile (or the reserved "Keep Original").
    NameRefusal refusalForName(const QString& name) const;

    // Writes the lines as "<name>.pf" (each followed by CR LF). A name refused above, a
    // folder that cannot be made or a file that cannot be written fails with error set and
    // leaves nothing behind.
    bool saveSettingForpf(const QStringList& lines, const QString& name, QString* error = nullptr) const;

    // A custom profile made from a base profile file and the chosen values: the base's lines
    // are kept (unknown keys included) and each chosen value becomes the selected item of its
    // key, added to the key's list when missing. The base's picture is copied beside it.
    bool saveCustomProfile(const QString& basePath, const ProfileChoice& choice, const QString& name,
                           QString* error = nullptr) const;

private:
    QString folder_;
};

// The stored choice of an opener with "Custom" frame size and bit rate replaced by the
// stored custom values ("1280x720", "2500").
ProfileChoice storedChoiceResolvingCustom(const ChoiceKeys& keys);

// "value,{items}" with value added to the items when missing.
QString optionValueText(const QString& value, QStringList items);

}  // namespace exportkit
