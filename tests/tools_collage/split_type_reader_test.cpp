// The layout file and its reader: line ends, comments, sections, values, and the shipped file.
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tools/collage/split_type_reader.h"

#include <gtest/gtest.h>

using namespace kestrel::test;
using namespace kestrel::tools::collage;

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// LF and CR LF files read alike, the last character of a line is kept, and a last line without
// a line end is read.
TEST(SplitTypeReader, ReadsValuesWhateverTheLineEnds) {
    TempDir dir;
    const struct {
        const char* name;
        std::string text;
    } files[] = {
        {"lf.ini", "[SplitType]\nType1=(0,0,50,100);(50,0,100,100)\nType2=abc\n"},
        {"crlf.ini", "[SplitType]\r\nType1=(0,0,50,100);(50,0,100,100)\r\nType2=abc\r\n"},
        {"noend.ini", "[SplitType]\nType1=(0,0,50,100);(50,0,100,100)\nType2=abc"},
        {"noendcrlf.ini", "[SplitType]\r\nType1=(0,0,50,100);(50,0,100,100)\r\nType2=abc"},
    };
    for (const auto& f : files) {
        writeBytes(dir.file(f.name), f.text);
        EXPECT_EQ(readProfileValue("SplitType", "Type1", q(dir.file(f.name))), "(0,0,50,100);(50,0,100,100)") << f.name;
        EXPECT_EQ(readProfileValue("SplitType", "Type2", q(dir.file(f.name))), "abc") << f.name;
    }
}

TEST(SplitTypeReader, KeysSectionsAndComments) {
    TempDir dir;
    writeBytes(dir.file("a.ini"),
               "Type1=outside\n[Other]\nType1=other\n[SplitType]\n# Type1=comment\n// Type1=comment\n"
               "; Type1=comment\nType10=ten\n Type 1 =first = with equals \nType1=second\n[Next]\nType3=next\n");
    const QString path = q(dir.file("a.ini"));
    EXPECT_EQ(readProfileValue("SplitType", "Type1", path), "first = with equals ");  // blanks kept
    EXPECT_EQ(readProfileValue("SplitType", "Type10", path), "ten");
    EXPECT_EQ(readProfileValue("SplitType", "Type3", path), "");  // in a later section
    EXPECT_EQ(readProfileValue("Other", "Type1", path), "other");
    EXPECT_EQ(readProfileValue("SplitType", "Type1", q(dir.file("missing.ini"))), "");
}

TEST(SplitTypeReader, ParsesCellsInPercent) {
    const Layout two = parseLayout("(0,0,50,100);(50,0,100,100)\r\n");
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1], (kestrel::session::CellEdges{0.5, 0, 1, 1}));
    const Layout loose = parseLayout(" 10, 20.5 ,x30,40 extra,99 ; ;(5,5)");
    ASSERT_EQ(loose.size(), 2);
    EXPECT_DOUBLE_EQ(loose[0].left, 0.10);
    EXPECT_DOUBLE_EQ(loose[0].top, 0.205);
    EXPECT_DOUBLE_EQ(loose[0].right, 0.0);  // no number: 0
    EXPECT_DOUBLE_EQ(loose[0].bottom, 0.40);
    EXPECT_DOUBLE_EQ(loose[1].right, 0.0);  // missing numbers count 0
    EXPECT_TRUE(parseLayout("").isEmpty());
}

// Every shipped layout tiles the frame: cells inside it, none overlapping, together all of it.
TEST(SplitTypeReader, ShippedLayoutsTileTheFrame) {
    const QList<Layout> layouts = readLayouts(splitTypeFilePath());
    ASSERT_EQ(layouts.size(), kLayoutCount);
    for (int i = 0; i < layouts.size(); ++i) {
        const Layout& cells = layouts[i];
        ASSERT_GE(cells.size(), 2) << "Type" << i + 1;
        double area = 0;
        for (int a = 0; a < cells.size(); ++a) {
            const auto& c = cells[a];
            EXPECT_TRUE(c.left >= 0 && c.top >= 0 && c.right <= 1 && c.bottom <= 1 && c.left < c.right && c.top < c.bottom)
                << "Type" << i + 1 << " cell " << a;
            area += (c.right - c.left) * (c.bottom - c.top);
            for (int b = a + 1; b < cells.size(); ++b) {
                const auto& d = cells[b];
                const double w = std::min(c.right, d.right) - std::max(c.left, d.left);
                const double h = std::min(c.bottom, d.bottom) - std::max(c.top, d.top);
                EXPECT_FALSE(w > 1e-6 && h > 1e-6) << "Type" << i + 1 << " cells " << a << " and " << b << " overlap";
            }
        }
        EXPECT_NEAR(area, 1.0, 1e-3) << "Type" << i + 1;
    }
}
