#pragma once
// A process-wide notification centre: observers register a block for a name; posting calls
// every block registered for that name synchronously, on the posting thread, in the order of
// registration. An observer removed during a post is not called afterwards.
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace platform {

inline const QString kWillCloseNotification = QStringLiteral("WillCloseNotification");
inline const QString kChangeLanguageNotification = QStringLiteral("ChangeLanguageNotification");
inline const QString kAddPfFileNotification = QStringLiteral("NSAddPfFileNotification");

struct Notification {
    QString name;
    const void* object = nullptr;  // the sender, when it gave one
    QVariantMap userInfo;
};

using ObserverToken = std::uint64_t;

class NotificationCenter {
public:
    static NotificationCenter& defaultCenter();

    // Registers block for name. When owner is given, the observer is removed with the owner.
    ObserverToken addObserver(const QString& name, std::function<void(const Notification&)> block,
                              QObject* owner = nullptr);
    void removeObserver(ObserverToken token);
    // Removes every observer the owner registered.
    void removeObserversOf(QObject* owner);

    void post(const QString& name, const void* object = nullptr, const QVariantMap& userInfo = {});

private:
    struct Entry {
        ObserverToken token;
        QString name;
        std::function<void(const Notification&)> block;
        QObject* owner;
    };
    std::recursive_mutex mutex_;
    std::vector<Entry> entries_;
    ObserverToken next_ = 1;
};

}  // namespace platform
