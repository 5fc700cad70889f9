#include "platform/user_defaults.h"

#include <QSettings>

namespace platform {

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults;
    return defaults;
}

UserDefaults::UserDefaults() = default;
UserDefaults::~UserDefaults() = default;

QSettings& UserDefaults::settings() const {
    if (!settings_) {
        // Keys such as "Access:/home/a" contain characters QSettings would treat as groups, so
        // every key is stored in one flat section with its own escaping.
        settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel");
    }
    return *settings_;
}

namespace {
QString storedKey(const QString& key) {
    // '/' and '\' are group separators for QSettings; percent-encode them so any key round-trips.
    return QString::fromLatin1(key.toUtf8().toPercentEncoding(" :-_.()[]@"));
}
}  // namespace

bool UserDefaults::hasKey(const QString& key) const { return settings().contains(storedKey(key)); }

QVariant UserDefaults::objectForKey(const QString& key) const { return settings().value(storedKey(key)); }

void UserDefaults::setObject(const QString& key, const QVariant& value) { settings().setValue(storedKey(key), value); }

void UserDefaults::removeObjectForKey(const QString& key) { settings().remove(storedKey(key)); }

qint64 UserDefaults::integerForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok) return n;
    const double d = v.toDouble(&ok);
    return ok ? static_cast<qint64>(d) : 0;
}

void UserDefaults::setInteger(const QString& key, qint64 value) { setObject(key, value); }

bool UserDefaults::boolForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().toLower();
        return s == "true" || s == "yes" || s.toLongLong() != 0;
    }
    return v.toBool();
}

void UserDefaults::setBool(const QString& key, bool value) { setObject(key, value); }

double UserDefaults::doubleForKey(const QString& key) const {
    bool ok = false;
    const double d = objectForKey(key).toDouble(&ok);
    return ok ? d : 0.0;
}

void UserDefaults::setDouble(const QString& key, double value) { setObject(key, value); }

QString UserDefaults::stringForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    return v.isValid() ? v.toString() : QString();
}

void UserDefaults::setString(const QString& key, const QString& value) { setObject(key, value); }

QStringList UserDefaults::allKeys() const {
    QStringList keys;
    for (const QString& k : settings().allKeys()) keys << QString::fromUtf8(QByteArray::fromPercentEncoding(k.toLatin1()));
    return keys;
}

void UserDefaults::synchronize() { settings().sync(); }

void UserDefaults::reset() {
    if (settings_) settings_->sync();
    settings_.reset();
}

}  // namespace platform
