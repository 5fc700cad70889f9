#pragma once
// Parsed strings tables, read once per file and kept for the whole run. Lookups may come from
// any thread, so the cache is guarded.
#include <QHash>
#include <QString>
#include <memory>

namespace services {

using StringsTable = QHash<QString, QString>;

// The table in the file at path; null when the file does not exist. A malformed file logs its
// error once and reads as an empty table.
std::shared_ptr<const StringsTable> cachedStringsTable(const QString& path);

}  // namespace services
