#pragma once
// The collage's colour filters: a catalogue built into the resources (works offline) and,
// when a catalogue address is configured, the entries of a downloaded catalogue. A downloaded
// table is kept in the filters cache folder and used only after it proved to be a usable table.
//
// The downloaded document (JSON) holds "title_en" and "title_cn" lists (the "ISCN" text of the
// language picks one); each entry has "id", "name", "urlcover" and "urlfilter".
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
