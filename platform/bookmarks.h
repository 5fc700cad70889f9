#pragma once
// Remembered access to user-picked files and folders, kept in the user defaults under
// "Access:<path hash>". There is no sandbox here, so a record holds the path itself and
// starting access only checks that the path is still there.
#include <QString>
#include <cstdint>

namespace platform {

// Deterministic 64-bit hash of a path string (FNV-1a over its UTF-16 units): the same value in
// every run, so folders and records named after a path are found again after a restart.
// Different spellings of one location (trailing slash, letter case) hash differently.
uint64_t pathHash(const QString& path);

class EMBookmark {
public:
    static EMBookmark& defaultShareBookmark();

    // "Access:" followed by the path's hash as an unsigned decimal number.
    static QString bookmarkKeyForPath(const QString& path);

    // Stores a record for an existing path (replacing an older one). False, and any older
    // record kept, when nothing exists at the path.
    bool saveOpenFileToBookmarkWithFilePath(const QString& path);
    // True when a record exists and its path is still there.
    bool BookmarkStartAccessingSecurityScopedResourceWithFilePath(const QString& path);
    // False when there is no record; otherwise whether the record is stale (its path is gone).
    bool BookmarkStopAccessingSecurityScopedResourceWithFilePath(const QString& path);
    // Removes the record; false when there was none.
    bool removeFileBookmarkInfoWithFilePath(const QString& path);

private:
    EMBookmark() = default;
    // The stored path for this path's key, empty when there is no record for exactly this path.
    static QString storedPath(const QString& path);
};

}  // namespace platform
