#include "services/strings_table_cache.h"

#include "services/strings_file.h"

#include <QFileInfo>
#include <QtDebug>
#include <mutex>

namespace services {

std::shared_ptr<const StringsTable> cachedStringsTable(const QString& path) {
    static std::mutex mutex;
    static QHash<QString, std::shared_ptr<const StringsTable>> tables;

    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = tables.constFind(path);
    if (found != tables.constEnd()) return found.value();
    // A folder not there yet is not remembered, so a table that appears later is still read.
    if (!QFileInfo(path).isFile()) return nullptr;

    const StringsParseResult parsed = readStringsFile(path);
    if (!parsed.ok())
        qWarning("strings table %s:%d: %s", qUtf8Printable(path), parsed.errorLine, qUtf8Printable(parsed.error));
    auto table = std::make_shared<const StringsTable>(parsed.ok() ? parsed.toHash() : StringsTable());
    tables.insert(path, table);
    return table;
}

}  // namespace services
