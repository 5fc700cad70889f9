#include "export/profiles/option_value.h"

#include "tests/export/qt_print.h"

#include <gtest/gtest.h>

using namespace exportkit;

namespace {

struct OptionCase {
    QString value;
    std::optional<QString> selected;
    std::optional<QStringList> items;
};

}  // namespace

TEST(OptionValue, SelectedItemAndListTable) {
    const OptionCase cases[] = {
        {"a,b,{a,b,c}", "b", QStringList{"a", "b", "c"}},
        {" x,y,{y,z}", "y", QStringList{"y", "z"}},
        {"h264, {h264,hevc}", "h264", QStringList{"h264", "hevc"}},
        {"\"1280x720\",{\"640x480\",\"1280x720\"}", "1280x720", QStringList{"640x480", "1280x720"}},
        {"640x480", "640x480", QStringList{"640x480"}},
        {" 25 ", "25", QStringList{"25"}},
        {"{a,b}", "b}", QStringList{"a", "b"}},
        {",{a,,b}", "", QStringList{"a", "b"}},
        {"a,{b,c", "c", QStringList{"c"}},
        {"2(Stereo),{1,2(Stereo)}", "2(Stereo)", QStringList{"1", "2(Stereo)"}},
        {"", std::nullopt, std::nullopt},
        {"\"\"", std::nullopt, std::nullopt},
        {"   ", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EXPECT_EQ(resultSelectItemTitleForContentStr(c.value), c.selected);
        EXPECT_EQ(resultContentStrForArr(c.value), c.items);
    }
}

TEST(OptionValue, TrimsOnlySpaces) {
    EXPECT_EQ(new_startAndendnospaceString("  a b  "), "a b");
    EXPECT_EQ(new_startAndendnospaceString("\ta\t"), "\ta\t");
    EXPECT_EQ(new_startAndendnospaceString(""), "");
    EXPECT_EQ(new_startAndendnospaceString("   "), std::nullopt);
}
