#include "services/language.h"

#include "platform/user_defaults.h"
#include "services/strings_table_cache.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <mutex>

#ifndef KESTREL_VERSION
#error "KESTREL_VERSION must be defined by the build"
#endif

namespace services {

namespace {

constexpr const char* kNineLanguageFolders[Language::kLanguageCount] = {
    "en", "zh-Hans", "zh-Hant", "fr", "de", "ja", "es", "pt-PT", "ar"};
// Older builds shipped four languages; a strings table without "LangeuageItem4" is one of them.
constexpr const char* kFourLanguageFolders[Language::kLanguageCount] = {
    "en", "zh-Hant", "fr", "ja", "en", "en", "en", "en", "en"};
// Qt's own translations ("qtbase_<locale>") for each folder, so standard dialogs follow the choice.
constexpr const char* kQtLocales[Language::kLanguageCount] = {
    "en", "zh_CN", "zh_TW", "fr", "de", "ja", "es", "pt_PT", "ar"};

const QString kMainTable = QStringLiteral("Main.strings");

qint64 storedLanguageIndex() {
    return platform::UserDefaults::standard().integerForKey(QStringLiteral("AppLanguage"));
}

QString folderFor(int index, bool fourLanguageList) {
    const int usable = fourLanguageList ? 4 : Language::kLanguageCount;
    if (index < 1 || index >= usable) return QStringLiteral("en");
    return QString::fromLatin1(fourLanguageList ? kFourLanguageFolders[index] : kNineLanguageFolders[index]);
}

QString tablePath(const QString& folder) {
    return Language::resourcesPath() + "/" + folder + ".lproj/" + kMainTable;
}

bool languageFolderExists(const QString& folder) {
    return QDir(Language::resourcesPath() + "/" + folder + ".lproj").exists();
}

// What setLanguage attached: the folder name and Qt's translator for it.
struct AttachedLanguage {
    std::mutex mutex;
    QString folder;
    std::unique_ptr<QTranslator> qtTranslator;
};

AttachedLanguage& attached() {
    static AttachedLanguage instance;
    return instance;
}

void installQtTranslation(AttachedLanguage& state, const QString& folder) {
    if (state.qtTranslator) {
        QCoreApplication::removeTranslator(state.qtTranslator.get());
        state.qtTranslator.reset();
    }
    if (!QCoreApplication::instance() || folder.isEmpty() || folder == "en") return;
    const int index = int(std::find(std::begin(kNineLanguageFolders), std::end(kNineLanguageFolders), folder) -
                          std::begin(kNineLanguageFolders));
    if (index >= Language::kLanguageCount) return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QString("qtbase_") + kQtLocales[index], QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        state.qtTranslator = std::move(translator);
    }
}

}  // namespace

int Language::currentLanguageIndex() {
    return int(std::clamp<qint64>(storedLanguageIndex(), 0, kLanguageCount - 1));
}

QString Language::languageFolder(int index) {
    return folderFor(std::clamp(index, 0, kLanguageCount - 1), false);
}

QString Language::localizedStringForKey(const QString& key, const QString& value) {
    const QString folder = folderFor(currentLanguageIndex(), kLanguageCount == 4);
    QString fallback = value;
    auto table = cachedStringsTable(tablePath(folder));
    if (!table && !languageFolderExists(folder)) {
        // No such language folder: the base table answers, and it takes no fallback value.
        table = cachedStringsTable(tablePath(QStringLiteral("en")));
        fallback.clear();
    }
    if (table) {
        const auto found = table->constFind(key);
        if (found != table->constEnd()) return found.value();
    }
    return fallback.isEmpty() ? key : fallback;
}

void Language::setLanguage() {
    // The table tells which list it was written for.
    const QString probeKey = QStringLiteral("LangeuageItem4");
    const bool fourLanguageList = localizedStringForKey(probeKey) == probeKey;
    const QString folder = folderFor(currentLanguageIndex(), fourLanguageList);
    const QString attach = languageFolderExists(folder) ? folder : QString();
    (void)cachedStringsTable(tablePath(folder));  // read it now rather than at the first text

    AttachedLanguage& state = attached();
    const std::lock_guard<std::mutex> lock(state.mutex);
    state.folder = attach;
    installQtTranslation(state, attach);
}

QString Language::attachedLanguageFolder() {
    AttachedLanguage& state = attached();
    const std::lock_guard<std::mutex> lock(state.mutex);
    return state.folder;
}

bool Language::isEnglishLanguage() {
    return std::min<qint64>(storedLanguageIndex(), kLanguageCount - 1) < 1;
}

bool Language::isalaboLanguage() {
    return currentLanguageIndex() == kLanguageCount - 1;
}

QString Language::getCurrentVersion() {
    return QStringLiteral(KESTREL_VERSION);
}

QString Language::getCurrentBundleIdentifier() {
    return QStringLiteral(KESTREL_BUNDLE_IDENTIFIER);
}

}  // namespace services
