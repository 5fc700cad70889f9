#pragma once
// The settings dialog's own readings of option values. Unlike the profile parsers they drop
// every space inside items, and an empty selection part before the braces selects the first
// item of the list.
#include <QString>
#include <QStringList>
#include <optional>

namespace exportkit::settings {

std::optional<QStringList> resultContentStrForArr(const QString& value);
std::optional<QString> resultSelectItemTitleForContentStr(const QString& value);

// The number in a text as "%.2f" (everything before its first digit skipped), "0" for a text
// without digits.
QString numForStringValue(const QString& text);

}  // namespace exportkit::settings
