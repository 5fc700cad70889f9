#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/bookmarks.h"
#include "platform/user_defaults.h"
#include "tests/support/temp_dir.h"

using platform::EMBookmark;
using platform::UserDefaults;

TEST(Bookmarks, PathHashIsStableAndKeysFollowTheRecordFormat) {
    // Pinned values: the hash names folders and records across launches, so it must never change.
    EXPECT_EQ(platform::pathHash(""), 14695981039346656037ull);
    EXPECT_EQ(platform::pathHash("a"), 12638187200555641996ull);
    EXPECT_EQ(EMBookmark::bookmarkKeyForPath("a"), "Access:12638187200555641996");
    EXPECT_NE(platform::pathHash("/tmp/Movies"), platform::pathHash("/tmp/movies"));
    EXPECT_NE(EMBookmark::bookmarkKeyForPath("/tmp/out"), EMBookmark::bookmarkKeyForPath("/tmp/out/"));
}

TEST(Bookmarks, StartAccessSucceedsWhileThePathExistsAndFailsOnceRemoved) {
    kestrel::test::TempDir dir;
    const QString folder = QString::fromStdString(dir.file("picked"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EMBookmark& store = EMBookmark::defaultShareBookmark();

    ASSERT_TRUE(store.saveOpenFileToBookmarkWithFilePath(folder));
    EXPECT_TRUE(UserDefaults::standard().hasKey(EMBookmark::bookmarkKeyForPath(folder)));
    EXPECT_TRUE(store.BookmarkStartAccessingSecurityScopedResourceWithFilePath(folder));
    EXPECT_FALSE(store.BookmarkStopAccessingSecurityScopedResourceWithFilePath(folder));  // not stale

    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(store.BookmarkStartAccessingSecurityScopedResourceWithFilePath(folder));
    EXPECT_TRUE(store.BookmarkStopAccessingSecurityScopedResourceWithFilePath(folder));  // stale
    // A stale record stays until it is removed.
    EXPECT_TRUE(store.removeFileBookmarkInfoWithFilePath(folder));
    EXPECT_FALSE(store.removeFileBookmarkInfoWithFilePath(folder));
    EXPECT_FALSE(store.BookmarkStopAccessingSecurityScopedResourceWithFilePath(folder));
}

TEST(Bookmarks, UnsavedAndMissingPathsAnswerFalseAndLeaveRecordsAlone) {
    kestrel::test::TempDir dir;
    const QString never = QString::fromStdString(dir.file("never-saved"));
    EMBookmark& store = EMBookmark::defaultShareBookmark();
    EXPECT_FALSE(store.BookmarkStartAccessingSecurityScopedResourceWithFilePath(never));
    EXPECT_FALSE(UserDefaults::standard().hasKey(EMBookmark::bookmarkKeyForPath(never)));
    EXPECT_FALSE(store.saveOpenFileToBookmarkWithFilePath(never));  // nothing there to keep
    EXPECT_FALSE(UserDefaults::standard().hasKey(EMBookmark::bookmarkKeyForPath(never)));

    // Saving twice keeps one record; a later failed save keeps the older record.
    const QString file = QString::fromStdString(dir.file("clip.mp4"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const int before = UserDefaults::standard().allKeys().size();
    ASSERT_TRUE(store.saveOpenFileToBookmarkWithFilePath(file));
    ASSERT_TRUE(store.saveOpenFileToBookmarkWithFilePath(file));
    EXPECT_EQ(UserDefaults::standard().allKeys().size(), before + 1);
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_FALSE(store.saveOpenFileToBookmarkWithFilePath(file));
    EXPECT_TRUE(UserDefaults::standard().hasKey(EMBookmark::bookmarkKeyForPath(file)));

    // With and without a trailing slash are two records.
    const QString folder = QString::fromStdString(dir.path());
    ASSERT_TRUE(store.saveOpenFileToBookmarkWithFilePath(folder));
    EXPECT_FALSE(store.BookmarkStartAccessingSecurityScopedResourceWithFilePath(folder + "/"));
    EXPECT_TRUE(store.BookmarkStartAccessingSecurityScopedResourceWithFilePath(folder));
}
