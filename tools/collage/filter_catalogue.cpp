#include "tools/collage/filter_catalogue.h"

#include "platform/user_defaults.h"
#include "services/folders.h"
#include "services/language.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QUrl>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestrel::tools::collage {

namespace {

QString stableName(const QString& address) {
    return QString::fromLatin1(QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
}

QString inFiltersFolder(const QString& name) {
    const QString folder = services::FileManager::sharedManager().rootFiltersDirPath();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

}  // namespace

QList<FilterEntry> builtInFilters() {
    const QString folder = services::Language::resourceBundlePath() + QStringLiteral("/filters");
    QFile file(folder + QStringLiteral("/catalogue.json"));
    QList<FilterEntry> entries;
    if (!file.open(QIODevice::ReadOnly)) return entries;
    const QJsonArray list = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("filters")).toArray();
    for (const QJsonValue& value : list) {
        const QJsonObject o = value.toObject();
        FilterEntry entry;
        entry.id = o.value(QStringLiteral("id")).toString();
        entry.name = services::localized(o.value(QStringLiteral("nameKey")).toString());
        entry.coverPath = folder + QLatin1Char('/') + o.value(QStringLiteral("cover")).toString();
        entry.tablePath = folder + QLatin1Char('/') + o.value(QStringLiteral("table")).toString();
        entry.builtIn = true;
        if (!entry.id.isEmpty() && QFileInfo::exists(entry.tablePath)) entries.append(entry);
    }
    return entries;
}

QString catalogueAddress() {
    QString base = platform::UserDefaults::standard().stringForKey(QString::fromLatin1(kFilterCatalogueBaseKey)).trimmed();
    while (base.endsWith(QLatin1Char('/'))) base.chop(1);
    return base.isEmpty() ? QString() : base + QStringLiteral("/filter/filter.json");
}

bool isAllowedAddress(const QString& address) {
    const QUrl url(address);
    if (!url.isValid() || url.host().isEmpty()) return false;
    if (url.scheme() == QLatin1String("https")) return true;
    const QUrl base(catalogueAddress());
    return url.scheme() == QLatin1String("http") && base.scheme() == QLatin1String("http") &&
           url.host() == base.host() && url.port(80) == base.port(80);
}

QList<FilterEntry> parseCatalogue(const QByteArray& document) {
    QList<FilterEntry> entries;
    const QJsonDocument json = QJsonDocument::fromJson(document);
    if (!json.isObject()) return entries;
    // Each language's strings table says which of the two lists it reads.
    const QString listChoice = services::localized(QStringLiteral("ISCN")).trimmed().toLower();
    const bool chinese = listChoice == QLatin1String("true") || listChoice == QLatin1String("yes") ||
                         listChoice == QLatin1String("1");
    const QJsonArray list = json.object().value(chinese ? QStringLiteral("title_cn") : QStringLiteral("title_en")).toArray();
    for (const QJsonValue& value : list) {
        const QJsonObject o = value.toObject();
        FilterEntry entry;
        entry.id = o.value(QStringLiteral("id")).toVariant().toString();
        entry.name = o.value(QStringLiteral("name")).toString();
        entry.coverAddress = o.value(QStringLiteral("urlcover")).toString();
        entry.tableAddress = o.value(QStringLiteral("urlfilter")).toString();
        if (entry.id.isEmpty() || !isAllowedAddress(entry.tableAddress)) continue;
        if (!isAllowedAddress(entry.coverAddress)) entry.coverAddress.clear();
        const QString table = cachedTablePath(entry.tableAddress);
        if (QFileInfo::exists(table)) entry.tablePath = table;
        const QString cover = cachedCoverPath(entry.coverAddress);
        if (!entry.coverAddress.isEmpty() && QFileInfo::exists(cover)) entry.coverPath = cover;
        entries.append(entry);
    }
    return entries;
}

QString catalogueCachePath() { return inFiltersFolder(QStringLiteral("filters.json")); }

QList<FilterEntry> cachedCatalogue() {
    QFile file(catalogueCachePath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return parseCatalogue(file.readAll());
}

QString cachedTablePath(const QString& tableAddress) { return inFiltersFolder(stableName(tableAddress) + QStringLiteral(".cube")); }

QString cachedCoverPath(const QString& coverAddress) { return inFiltersFolder(stableName(coverAddress) + QStringLiteral(".png")); }

}  // namespace kestrel::tools::collage
