#include "export/profiles/profile_tree.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include "tests/export/qt_print.h"

#include <gtest/gtest.h>

using namespace exportkit;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

void touch(const std::string& path) { writeBytes(path, "[Main]\r\nExtName=mp4\r\n"); }

}  // namespace

TEST(ProfileTree, CategoryListFromIndex) {
    TempDir dir;
    writeBytes(dir.file("pf.dat"), "[frmFormat]\r\nCount=3\r\nType1= Video \r\nType2=Audio\r\nType3=\r\nType4=Ignored\r\n");
    ProfileTree tree(QString::fromStdString(dir.path()), QString::fromStdString(dir.file("Custom")), 6);
    EXPECT_EQ(tree.getFunctionList(), (QStringList{"Video", "Audio", ""}));
    // "Custom" goes in front only once it holds a profile.
    EXPECT_EQ(tree.categoriesWithCustom(), (QStringList{"Video", "Audio", ""}));
    QDir().mkpath(QString::fromStdString(dir.file("Custom")));
    touch(dir.file("Custom/Mine.pf"));
    EXPECT_EQ(tree.categoriesWithCustom(), (QStringList{"Custom", "Video", "Audio", ""}));

    ProfileTree missing("/nonexistent", "/nonexistent/Custom", 6);
    EXPECT_TRUE(missing.getFunctionList().isEmpty());
    EXPECT_TRUE(missing.getFunctionItemChildList("Video").isEmpty());
}

TEST(ProfileTree, ProfileOrderKeepsOriginalFirstAndPinsMp4And4K) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.file("V")));
    for (const char* name : {"a10", "a2", "B", "Keep Original", "MP4", "4K", "c", "d", "e", "f"})
        touch(dir.file(std::string("V/") + name + ".pf"));
    writeBytes(dir.file("V/notes.txt"), "x");
    writeBytes(dir.file("V/a2.png"), "x");
    ProfileTree editor(QString::fromStdString(dir.path()), QString(), 6);
    // Sorted: 4K B Keep MP4 a2 a10 c d e f -> Keep first, then 4K and MP4 to index 6 in turn.
    EXPECT_EQ(editor.getFunctionItemChildList("V"),
              (QStringList{"Keep Original", "B", "a2", "a10", "c", "4K", "MP4", "d", "e", "f"}));
    ProfileTree joiner(QString::fromStdString(dir.path()), QString(), 5);
    EXPECT_EQ(joiner.getFunctionItemChildList("V"),
              (QStringList{"Keep Original", "B", "a2", "a10", "4K", "MP4", "c", "d", "e", "f"}));
    EXPECT_FALSE(editor.picturePath("V", "a2").isEmpty());
    EXPECT_TRUE(editor.picturePath("V", "B").isEmpty());
    EXPECT_TRUE(editor.profilePath("V", "none").isEmpty());
}

TEST(ProfileTree, ShortListKeepsPinnedProfileLast) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.file("V")));
    for (const char* name : {"4K", "b", "a"}) touch(dir.file(std::string("V/") + name + ".pf"));
    ProfileTree tree(QString::fromStdString(dir.path()), QString(), 6);
    EXPECT_EQ(tree.getFunctionItemChildList("V"), (QStringList{"a", "b", "4K"}));
}

TEST(ProfileTree, NumericCompare) {
    EXPECT_LT(numericCompare("a2", "a10"), 0);
    EXPECT_LT(numericCompare("B", "a"), 0);
    EXPECT_EQ(numericCompare("x007", "x7"), 0);
    EXPECT_GT(numericCompare("ab", "a"), 0);
}
