#pragma once
// The user's stored choices, under the keys the rest of the program names ("AppLanguage",
// "kOutputDir", ...), kept with QSettings in the per-user configuration folder.
#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

namespace platform {

class UserDefaults {
public:
    static UserDefaults& standard();

    bool hasKey(const QString& key) const;
    QVariant objectForKey(const QString& key) const;
    void setObject(const QString& key, const QVariant& value);
    void removeObjectForKey(const QString& key);

    // Absent or unreadable values give 0, false or an empty string, as the original defaults did.
    qint64 integerForKey(const QString& key) const;
    void setInteger(const QString& key, qint64 value);
    bool boolForKey(const QString& key) const;
    void setBool(const QString& key, bool value);
    double doubleForKey(const QString& key) const;
    void setDouble(const QString& key, double value);
    QString stringForKey(const QString& key) const;
    void setString(const QString& key, const QString& value);

    QStringList allKeys() const;
    void synchronize();

    // Drops the cached settings object so the next access re-reads the store (tests).
    void reset();

private:
    UserDefaults();
    ~UserDefaults();
    QSettings& settings() const;
    mutable std::unique_ptr<QSettings> settings_;
};

}  // namespace platform
