#include "services/strings_file.h"

#include <gtest/gtest.h>

using services::parseStrings;

namespace {

QString valueOf(const services::StringsParseResult& result, const QString& key) {
    for (const auto& entry : result.entries)
        if (entry.key == key) return entry.value;
    return "<missing>";
}

}  // namespace

TEST(StringsParser, ReadsEscapesCommentsAndBothLineEnds) {
    const QByteArray text =
        "\xEF\xBB\xBF/* header comment with \"quotes\" = and ; inside */\r\n"
        "\"plain\" = \"Value\";\r\n"
        "// line comment \"not\" = \"an entry\";\n"
        "\"quote\" = \"say \\\"hi\\\"\";\n"
        "  \"slash\"=\"a\\\\b\" ;\n"
        "\"controls\" = \"one\\ntwo\\tthree\";\n"
        "\"unicode\" = \"\\U00e9t\\u00E9 \\UD83D\\UDE00\";\n"
        "\"inside\" = \"a = b; /* not a comment */ c\";\n"
        "\"utf8\" = \"\xE4\xB8\xAD\xE6\x96\x87\";\n"
        "\"multi\" = \"first\r\nsecond\";\n"
        "\"empty\" = \"\";\n"
        "\"last\" = \"no newline at the end\";";
    const auto result = parseStrings(text);
    ASSERT_TRUE(result.ok()) << result.error.toStdString() << " line " << result.errorLine;
    EXPECT_EQ(result.entries.size(), 10u);
    EXPECT_EQ(valueOf(result, "plain"), "Value");
    EXPECT_EQ(valueOf(result, "quote"), "say \"hi\"");
    EXPECT_EQ(valueOf(result, "slash"), "a\\b");
    EXPECT_EQ(valueOf(result, "controls"), "one\ntwo\tthree");
    EXPECT_EQ(valueOf(result, "unicode"), QString::fromUtf8("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80"));
    EXPECT_EQ(valueOf(result, "inside"), "a = b; /* not a comment */ c");
    EXPECT_EQ(valueOf(result, "utf8"), QString::fromUtf8("\xE4\xB8\xAD\xE6\x96\x87"));
    EXPECT_EQ(valueOf(result, "multi"), "first\nsecond");
    EXPECT_EQ(valueOf(result, "empty"), "");
    EXPECT_EQ(valueOf(result, "last"), "no newline at the end");
    EXPECT_EQ(result.entries.front().line, 2);
    EXPECT_EQ(result.entries.back().line, 13);
}

TEST(StringsParser, EmptyAndCommentOnlyTablesAreValid) {
    for (const QByteArray& text : {QByteArray(), QByteArray("  \r\n\n"), QByteArray("/* only */\n// this\n")}) {
        const auto result = parseStrings(text);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_TRUE(result.entries.empty());
    }
}

TEST(StringsParser, ReportsMalformedInputWithItsLine) {
    struct Case {
        const char* text;
        int line;
        const char* errorPart;
    };
    const Case cases[] = {
        {"\"a\" = \"1\";\n\"b\" = \"2\"\n\"c\" = \"3\";", 2, "';'"},      // missing semicolon
        {"\"a\" \"1\";", 1, "'='"},                                     // missing equals
        {"\"a\" = 1;", 1, "quoted value"},                              // unquoted value
        {"a = \"1\";", 1, "quoted key"},                                // unquoted key
        {"\n\"a\" = \"never closed;\n", 2, "never closed"},             // open quote
        {"\"a\" = \"1\";\n/* open comment\n", 2, "never closed"},       // open comment
        {"\"a\" = \"bad \\q escape\";", 1, "unknown escape"},           // unknown escape
        {"\"a\" = \"\\U12\";", 1, "four hexadecimal"},                  // short \U
        {"\"a\" = \"\\UD83D alone\";", 1, "surrogate"},                 // lone surrogate
        {"\"k\" = \"1\";\n\"x\" = \"2\";\n\"k\" = \"3\";", 3, "defined twice"},  // duplicate key
        {"\n\"a\" = \"1\";\n\"b\" = \"\xC3\x28\";", 3, "UTF-8"},         // invalid UTF-8
        {"\"a\" = \"1\";;", 1, "quoted key"},                            // stray semicolon
    };
    for (const Case& c : cases) {
        const auto result = parseStrings(QByteArray(c.text));
        EXPECT_FALSE(result.ok()) << c.text;
        EXPECT_EQ(result.errorLine, c.line) << c.text << " -> " << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(c.errorPart)) << c.text << " -> " << result.error.toStdString();
    }
}

TEST(StringsParser, WrittenTablesReadBackUnchanged) {
    const std::vector<services::StringsEntry> entries = {
        {"simple", "text", 0},
        {"tricky \"key\"", "back\\slash \"quoted\"\nnew line\ttab\r\x01", 0},
        {"arabic", QString::fromUtf8("\xD9\x85\xD9\x88\xD8\xA7\xD9\x81\xD9\x82"), 0},
        {"emoji", QString::fromUtf8("\xF0\x9F\x98\x80 */ /*"), 0},
    };
    const auto result = parseStrings(services::writeStrings(entries, "header */ with a closing mark"));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    ASSERT_EQ(result.entries.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(result.entries[i].key, entries[i].key);
        EXPECT_EQ(result.entries[i].value, entries[i].value);
    }
}
