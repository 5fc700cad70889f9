// The build's strings merger: a good set of area files becomes one table; a bad one fails the
// build with the file and line, and leaves the old table alone.
#include "services/strings_file.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include <gtest/gtest.h>

using kestrel::test::runCommand;
using kestrel::test::TempDir;
using kestrel::test::writeBytes;

namespace {

int runMerge(const std::string& output, const std::vector<std::string>& inputs, std::string* messages) {
    std::string command = std::string("'") + KESTREL_STRINGS_MERGE + "' '" + output + "'";
    for (const std::string& input : inputs) command += " '" + input + "'";
    return runCommand(command, messages);
}

std::string readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<unreadable>");
}

}  // namespace

TEST(StringsMerge, MergesAreasIntoOneTable) {
    TempDir dir;
    writeBytes(dir.file("b.strings"), "/* b */\r\n\"Second\" = \"Zwei\";\r\n");
    writeBytes(dir.file("a.strings"), "\"First\" = \"Eins; \\\"quoted\\\"\";\n");
    std::string messages;
    const std::string output = dir.file("de.lproj/Main.strings");
    ASSERT_EQ(runMerge(output, {dir.file("b.strings"), dir.file("a.strings")}, &messages), 0) << messages;

    const auto merged = services::readStringsFile(QString::fromStdString(output));
    ASSERT_TRUE(merged.ok()) << merged.error.toStdString();
    const auto table = merged.toHash();
    EXPECT_EQ(table.size(), 2);
    EXPECT_EQ(table.value("First"), "Eins; \"quoted\"");
    EXPECT_EQ(table.value("Second"), "Zwei");
}

TEST(StringsMerge, FailsOnSyntaxErrorsAndKeysDefinedTwice) {
    TempDir dir;
    writeBytes(dir.file("good.strings"), "\"Shared\" = \"one\";\n");
    writeBytes(dir.file("twice.strings"), "\n\"Other\" = \"x\";\n\"Shared\" = \"two\";\n");
    writeBytes(dir.file("broken.strings"), "\"Fine\" = \"y\";\n\"Broken\" = \"z\"\n");
    const std::string output = dir.file("Main.strings");
    writeBytes(output, "\"Old\" = \"table\";\n");

    std::string messages;
    EXPECT_NE(runMerge(output, {dir.file("good.strings"), dir.file("twice.strings")}, &messages), 0);
    EXPECT_NE(messages.find("twice.strings:3: error: key \"Shared\" is already defined at"), std::string::npos) << messages;
    EXPECT_NE(messages.find("good.strings:1"), std::string::npos) << messages;

    EXPECT_NE(runMerge(output, {dir.file("broken.strings")}, &messages), 0);
    EXPECT_NE(messages.find("broken.strings:2: error:"), std::string::npos) << messages;

    EXPECT_NE(runMerge(output, {dir.file("missing.strings")}, &messages), 0);
    EXPECT_EQ(readAll(output), "\"Old\" = \"table\";\n");
}
