#include "app/preferred_languages.h"

#include "platform/user_defaults.h"
#include "services/language.h"

#include <QStringList>
#include <array>

namespace app {

namespace {
constexpr std::array<const char*, 9> kNineLanguageCodes = {"en", "zh_CN", "zh_HK", "fr", "de", "ja", "es", "pt", "ar"};
constexpr std::array<const char*, 4> kFourLanguageCodes = {"en", "zh_Hant", "fr", "ja"};
}  // namespace

QString preferredLanguageCode(qint64 index, bool fourLanguageList) {
    const auto position = static_cast<quint64>(index);
    if (fourLanguageList)
        return QString::fromLatin1(position < kFourLanguageCodes.size() ? kFourLanguageCodes[position] : "en");
    return QString::fromLatin1(position < kNineLanguageCodes.size() ? kNineLanguageCodes[position] : "en");
}

bool usesFourLanguageList() {
    const QString probe = QStringLiteral("LangeuageItem4");
    return services::localized(probe) == probe;
}

void storePreferredLanguages(qint64 index) {
    const QString code = preferredLanguageCode(index, usesFourLanguageList());
    platform::UserDefaults::standard().setObject(QStringLiteral("AppleLanguages"), QStringList{code});
}

}  // namespace app
