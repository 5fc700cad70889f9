#pragma once
// The font files the subtitle panel offers: every ".ttf" or ".ttc" file under a font folder,
// named by its path inside that folder.
#include <QString>
#include <QStringList>

namespace kestrel::editor {

// Where the panel looks for font files.
QString subtitleFontFolder();

// Names (paths relative to the folder) in listing order; empty when the folder cannot be read.
QStringList listSubtitleFontFiles(const QString& folder);

// The default font of a list: a "Songti" font when there is one, else Arial, else the first
// font; -1 for an empty list.
int defaultSubtitleFontIndex(const QStringList& names);

}  // namespace kestrel::editor
