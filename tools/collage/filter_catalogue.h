#pragma once
// The collage's colour filters: a catalogue built into the resources (works offline) and,
// when a catalogue address is configured, the entries of a downloaded catalogue. A downloaded
// table is kept in the filters cache folder and used only after it proved to be a usable table.
//
// The downloaded document (JSON) holds "title_en" and "title_cn" lists (the "ISCN" text of the
// language picks one); each entry has "id", "name", "urlcover" and "urlfilter". Entries whose
// table address may not be fetched are left out; a cover address that may not is dropped.
#include <QByteArray>
#include <QList>
#include <QString>

namespace kestrel::tools::collage {

struct FilterEntry {
    QString id;
    QString name;
    QString coverPath;     // local picture; empty until a downloaded cover arrived
    QString tablePath;     // local .cube table; empty until downloaded
    QString coverAddress;  // downloaded entries
    QString tableAddress;
    bool builtIn = false;
};

// User default holding the base address of the downloadable catalogue ("" or absent: none).
inline const char* kFilterCatalogueBaseKey = "CollageFilterCatalogueBase";

QList<FilterEntry> builtInFilters();
// base + "/filter/filter.json", or "" when no base is configured.
QString catalogueAddress();
// Whether a catalogue, cover or table may be fetched from the address: https always; plain
// http only from the scheme, host and port of the configured base.
bool isAllowedAddress(const QString& address);
// Largest bodies taken: the catalogue, a cover, and a table (a 64-point .cube in text is 7 MB).
inline constexpr qint64 kMaximumCatalogueBytes = qint64(1) << 20;
inline constexpr qint64 kMaximumCoverBytes = qint64(2) << 20;
inline constexpr qint64 kMaximumTableBytes = qint64(8) << 20;
// The entries of a catalogue document, with their cached files filled in where present; an
// empty list for a document that is not a catalogue.
QList<FilterEntry> parseCatalogue(const QByteArray& document);
// The cached document (written after each successful fetch).
QString catalogueCachePath();
QList<FilterEntry> cachedCatalogue();
// Where a downloaded table and cover are kept.
QString cachedTablePath(const QString& tableAddress);
QString cachedCoverPath(const QString& coverAddress);

}  // namespace kestrel::tools::collage
