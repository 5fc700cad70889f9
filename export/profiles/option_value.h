#pragma once
// Option values of output profiles: a selection part, a comma and the item list in braces,
// as in "a,b,{a,b,c}" (selected item b, items a, b, c). Double quotes are ignored.
#include <QString>
#include <QStringList>
#include <optional>

namespace exportkit {

// The text without leading and trailing spaces (U+0020 only; tabs stay). The empty text gives
// the empty text; a text of spaces only gives nothing.
std::optional<QString> new_startAndendnospaceString(const QString& text);

// The selected item: the last comma piece of the selection part when it has several (as it
// stands), else the trimmed selection part; the empty text when that is blank; nothing for an
// empty value.
std::optional<QString> resultSelectItemTitleForContentStr(const QString& value);

// The items between the first "{" and the "}" after it (empty ones dropped, others as they
// stand); without braces, the last comma piece trimmed. Nothing when there are none.
std::optional<QStringList> resultContentStrForArr(const QString& value);

// Both parts of one value.
struct OptionValue {
    std::optional<QString> selected;
    QStringList items;
};
OptionValue parseOptionValue(const QString& value);

}  // namespace exportkit
