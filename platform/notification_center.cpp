#include "platform/notification_center.h"

#include <algorithm>

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

ObserverToken NotificationCenter::addObserver(const QString& name, std::function<void(const Notification&)> block,
                                              QObject* owner) {
    std::lock_guard lock(mutex_);
    const ObserverToken token = next_++;
    entries_.push_back({token, name, std::move(block), owner});
    if (owner) {
        QObject::connect(owner, &QObject::destroyed, [this, token] { removeObserver(token); });
    }
    return token;
}

void NotificationCenter::removeObserver(ObserverToken token) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}

void NotificationCenter::removeObserversOf(QObject* owner) {
    if (!owner) return;
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [owner](const Entry& e) { return e.owner == owner; });
}

void NotificationCenter::post(const QString& name, const void* object, const QVariantMap& userInfo) {
    std::vector<ObserverToken> tokens;
    {
        std::lock_guard lock(mutex_);
        for (const auto& e : entries_)
            if (e.name == name) tokens.push_back(e.token);
    }
    const Notification note{name, object, userInfo};
    for (ObserverToken token : tokens) {
        std::function<void(const Notification&)> block;
        {
            std::lock_guard lock(mutex_);
            auto it = std::find_if(entries_.begin(), entries_.end(), [token](const Entry& e) { return e.token == token; });
            if (it == entries_.end()) continue;  // removed by an earlier observer of this post
            block = it->block;
        }
        block(note);
    }
}

}  // namespace platform
