#include "platform/bookmarks.h"

#include <QFileInfo>

#include "platform/user_defaults.h"

namespace platform {

uint64_t pathHash(const QString& path) {
    uint64_t hash = 14695981039346656037ull;
    for (const QChar unit : path) {
        hash ^= unit.unicode();
        hash *= 1099511628211ull;
    }
    return hash;
}

EMBookmark& EMBookmark::defaultShareBookmark() {
    static EMBookmark store;
    return store;
}

QString EMBookmark::bookmarkKeyForPath(const QString& path) {
    return QStringLiteral("Access:%1").arg(static_cast<qulonglong>(pathHash(path)));
}

namespace {
bool existsAt(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && (info.exists() || info.isSymLink());
}
}  // namespace

QString EMBookmark::storedPath(const QString& path) {
    const QString recorded = UserDefaults::standard().stringForKey(bookmarkKeyForPath(path));
    // Two paths sharing a hash must not share access: the record only counts for its own path.
    return recorded == path ? recorded : QString();
}

bool EMBookmark::saveOpenFileToBookmarkWithFilePath(const QString& path) {
    if (!existsAt(path)) return false;
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setString(bookmarkKeyForPath(path), path);
    defaults.synchronize();
    return true;
}

bool EMBookmark::BookmarkStartAccessingSecurityScopedResourceWithFilePath(const QString& path) {
    const QString recorded = storedPath(path);
    return !recorded.isEmpty() && existsAt(recorded);
}

bool EMBookmark::BookmarkStopAccessingSecurityScopedResourceWithFilePath(const QString& path) {
    const QString recorded = storedPath(path);
    if (recorded.isEmpty()) return false;
    return !existsAt(recorded);
}

bool EMBookmark::removeFileBookmarkInfoWithFilePath(const QString& path) {
    UserDefaults& defaults = UserDefaults::standard();
    const QString key = bookmarkKeyForPath(path);
    if (!defaults.hasKey(key)) return false;
    defaults.removeObjectForKey(key);
    return true;
}

}  // namespace platform
