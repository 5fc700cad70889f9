#include "model/water_param.h"

#include "platform/user_defaults.h"

namespace kestrel::model {

namespace {
constexpr int kArabicLanguageIndex = 8;  // "AppLanguage" value of the right-to-left interface
}

QString defaultWaterFontName() {
    const bool arabic = platform::UserDefaults::standard().integerForKey("AppLanguage") == kArabicLanguageIndex;
    return arabic ? QStringLiteral("Muna") : QStringLiteral("STHeitiTC-Light");
}

WaterParam::WaterParam() : waterFontName(defaultWaterFontName()) {}

}  // namespace kestrel::model
