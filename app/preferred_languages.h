#pragma once
// The preferred-language list a language switch writes for the next launch. It is kept as the
// stored setting "AppleLanguages" (a one-element list); no shell command is ever run.
#include <QString>

namespace app {

// The code for a language index: the nine-language list (en, zh_CN, zh_HK, fr, de, ja, es, pt,
// ar) or the older four-language one (en, zh_Hant, fr, ja). The index is compared unsigned, so
// a negative index, like one past the list, gives "en".
QString preferredLanguageCode(qint64 index, bool fourLanguageList);

// True when the strings table was written for the four-language list (it has no "LangeuageItem4").
bool usesFourLanguageList();

void storePreferredLanguages(qint64 index);

}  // namespace app
