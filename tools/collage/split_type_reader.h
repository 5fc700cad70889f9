#pragma once
// The collage's layout file "SplitType.ini": section [SplitType], keys Type1 … Type19, each a
// list of cells "(left,top,right,bottom);…" in percent of the frame from its top-left corner.
#include "session/edit/collage_composition.h"

#include <QList>
#include <QString>

namespace kestrel::tools::collage {

using Layout = QList<session::CellEdges>;

constexpr int kLayoutCount = 19;

// The value of key in section of an INI file, without its line end (LF or CR LF), blanks kept;
// empty when the file, section or key is missing. A later section header ends the section;
// lines starting with "#", ";" or "//" are comments; the last line needs no line end.
QString readProfileValue(const QString& section, const QString& key, const QString& path);

// The cells of one value: each piece between ";" with its parentheses removed gives four
// numbers (missing or unreadable ones count 0) divided by 100. Empty pieces are skipped.
Layout parseLayout(const QString& value);

// Every layout of the file, Type1 first; a missing key gives an empty layout.
QList<Layout> readLayouts(const QString& path);

// The number (1-based) of the first layout with no cells or with a cell that is not a
// rectangle inside the frame; 0 when every layout is sound.
int firstDamagedLayout(const QList<Layout>& layouts);

// The file shipped in the resources.
QString splitTypeFilePath();

}  // namespace kestrel::tools::collage
