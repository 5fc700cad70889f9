// The guide's page maker: a page's keys become the English texts, its first heading its title,
// its links and pictures stay; a missing key, a link to no page or a missing picture fails the
// build naming the page, and a page taken out of the guide leaves no HTML behind.
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>

using kestrel::test::runCommand;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

int runGuideBuild(const TempDir& dir, const std::vector<std::string>& pages, std::string* messages) {
    std::string command = std::string("'") + KESTREL_GUIDE_BUILD + "' '" + dir.file("Main.strings") + "' '" +
                          dir.file("out") + "'";
    for (const std::string& page : pages) command += " '" + dir.file(page) + "'";
    return runCommand(command, messages);
}

std::string readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<unreadable>");
}

void writeTable(const TempDir& dir) {
    writeBytes(dir.file("Main.strings"),
               "\"Crop_Title\" = \"Crop & Frame\";\n\"Export\" = \"Export *now*\";\n\"Title\" = \"Kestrel\";\n");
}

}  // namespace

TEST(GuideBuild, KeysBecomeTheEnglishTextsAndTheHeadingTheTitle) {
    TempDir dir;
    writeTable(dir);
    writeBytes(dir.file("index.md"), "# {{Title}} User Guide\n\nSee [{{Crop_Title}}](crop.html).\n");
    writeBytes(dir.file("crop.md"), "# {{Crop_Title}}\n\n![{{Crop_Title}}](crop.png) Press **{{Export}}**.\n");
    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    std::filesystem::create_directories(dir.file("out"));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("out/crop.png"))));

    std::string messages;
    ASSERT_EQ(runGuideBuild(dir, {"index.md", "crop.md"}, &messages), 0) << messages;
    EXPECT_TRUE(messages.empty()) << messages;
    const std::string index = readAll(dir.file("out/index.html"));
    EXPECT_NE(index.find("<title>Kestrel User Guide</title>"), std::string::npos) << index;
    EXPECT_NE(index.find("href=\"crop.html\""), std::string::npos) << index;
    const std::string crop = readAll(dir.file("out/crop.html"));
    EXPECT_NE(crop.find("<title>Crop &amp; Frame</title>"), std::string::npos) << crop;
    EXPECT_NE(crop.find("<img src=\"crop.png\""), std::string::npos) << crop;
    // A text with Markdown's marks in it is shown as written, not as emphasis.
    EXPECT_NE(crop.find("Export *now*"), std::string::npos) << crop;
    EXPECT_EQ(crop.find("{{"), std::string::npos) << crop;
}

TEST(GuideBuild, BrokenPagesFailNamingThePageAndWhatIsWrong) {
    struct Case {
        const char* page;
        const char* expected;
    };
    const Case cases[] = {
        {"# {{No_Such_Key}}\n", "the strings table has no key \"No_Such_Key\""},
        {"# Page\n\n[Lost](lost.html)\n", "the link \"lost.html\" names no page of the guide"},
        {"# Page\n\n![A picture](nowhere.png)\n", "no picture \"nowhere.png\""},
        {"Text without a heading.\n", "the page has no heading"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeTable(dir);
        writeBytes(dir.file("page.md"), c.page);
        std::string messages;
        EXPECT_NE(runGuideBuild(dir, {"page.md"}, &messages), 0) << c.page;
        EXPECT_NE(messages.find(dir.file("page.md") + ": error: " + c.expected), std::string::npos) << messages;
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.file("out/page.html")))) << c.page;
    }
}

TEST(GuideBuild, APageTakenOutLeavesNoHtml) {
    TempDir dir;
    writeTable(dir);
    writeBytes(dir.file("index.md"), "# Index\n");
    writeBytes(dir.file("old.md"), "# Old\n");
    std::string messages;
    ASSERT_EQ(runGuideBuild(dir, {"index.md", "old.md"}, &messages), 0) << messages;
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(dir.file("out/old.html"))));
    ASSERT_EQ(runGuideBuild(dir, {"index.md"}, &messages), 0) << messages;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.file("out/old.html"))));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.file("out/index.html"))));
}
