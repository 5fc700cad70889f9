#pragma once
// Language service and resource lookup: every visible text is a key looked up in the strings
// table "Main" of the chosen language; every picture is looked up in the resource bundle
// "Settings.bundle". The chosen language is the user default "AppLanguage" (0..8).
#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace services {

class Language {
public:
    // Number of interface languages in this build.
    static constexpr int kLanguageCount = 9;

    // Text for key in table "Main" of the current language; the key itself when it has none.
    static QString localizedStringForKey(const QString& key, const QString& value = QString());
    // Points lookups at the language stored in "AppLanguage" (called after a switch).
    static void setLanguage();
    static bool isEnglishLanguage();
    // True for the right-to-left language (Arabic).
    static bool isalaboLanguage();
    // The clamped language index 0..8 and its folder name ("en", "zh-Hans", ..., "ar").
    static int currentLanguageIndex();
    static QString languageFolder(int index);

    // Folder holding "Settings.bundle" and the "<lang>.lproj" folders: $KESTREL_RESOURCES when
    // set, else "Resources" beside the executable (the build folder's program), else
    // "../share/kestrel/Resources" from the executable (the installed program).
    static QString resourcesPath();
    static QString resourceBundlePath();  // resourcesPath() + "/Settings.bundle"

    // Picture in the resource bundle: name as given, then ".png", "@3x.png", "@2x.png".
    // A null image when none exists. The pixmap form carries the device pixel ratio of its
    // "@2x"/"@3x" file so it draws at its point size.
    static QImage imageWithfileName(const QString& name);
    static QPixmap pixmapWithfileName(const QString& name);
    // Path of a file in the resource bundle, empty when it does not exist.
    static QString pathWithfileName(const QString& name);
    // The bundle-object form of the picture lookup: exactly the file "Settings.bundle/" + name
    // (the name carries its extension), no fallbacks; a null image when it is missing.
    static QImage bundleImageWithfileName(const QString& name);

    // Folder that setLanguage last attached for the platform's own texts ("" when none).
    static QString attachedLanguageFolder();

    static QString getCurrentVersion();
    static QString getCurrentBundleIdentifier();
};

// "16:9" -> 1.777..; anything without exactly one ':' -> 0.
double ratioValue(const QString& text);

// The text as NUL-terminated UTF-8, the form every engine call takes paths and texts in.
inline QByteArray charValue(const QString& text) { return text.toUtf8(); }

// Shorthand used by every window: the text for a key in the current language.
inline QString localized(const QString& key) { return Language::localizedStringForKey(key); }

}  // namespace services
