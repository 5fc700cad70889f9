// Renders every window of the gallery in English, German, Arabic, Japanese and Simplified
// Chinese on Qt's offscreen platform, for review: <folder>/<language>/<window>.png. The folder is
// the first argument, else the build's "screenshots" folder; further arguments pick windows by
// name. Settings and working folders go to a private home, as in the tests.
#include "tests/app/window_gallery.h"

#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/build_tree_resources.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

// The languages reviewed, by their "AppLanguage" number.
QList<int> reviewedLanguages() {
    QList<int> chosen;
    for (int language = 0; language < services::Language::kLanguageCount; ++language) {
        const QString folder = services::Language::languageFolder(language);
        if (folder == "en" || folder == "de" || folder == "ar" || folder == "ja" || folder == "zh-Hans") chosen << language;
    }
    return chosen;
}

void useLanguage(int language) {
    platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), language);
    services::Language::setLanguage();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir sandbox(QDir::tempPath() + "/kestrel-shots-XXXXXX");
    const QByteArray root = sandbox.path().toUtf8();
    for (const char* sub : {"config", "data", "cache", "runtime", "videos", "tmp"}) QDir().mkpath(sandbox.path() + "/" + sub);
    QFile::setPermissions(sandbox.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    setenv("XDG_VIDEOS_DIR", (root + "/videos").constData(), 1);
    setenv("TMPDIR", (root + "/tmp").constData(), 1);
    // The build target names a desktop-sized offscreen screen; run by hand, Qt's own offscreen one.
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    kestrel::test::useBuildTreeResources();

    QApplication application(argc, argv);
    QApplication::setOrganizationName("KestrelScreenshots");
    QApplication::setApplicationName("KestrelScreenshots");

    const QStringList arguments = QApplication::arguments().mid(1);
    const QString folder = arguments.isEmpty() ? QStringLiteral(KESTREL_SCREENSHOT_FOLDER) : arguments.first();
    const QStringList picked = arguments.mid(1);

    int failed = 0;
    for (int language : reviewedLanguages()) {
        useLanguage(language);
        const QString languageFolder = folder + "/" + services::Language::languageFolder(language);
        QDir().mkpath(languageFolder);
        kestrel::test::WindowGallery gallery;
        for (const std::string& name : kestrel::test::galleryWindowNames()) {
            if (!picked.isEmpty() && !picked.contains(QString::fromStdString(name))) continue;
            QWidget* window = gallery.open(name);
            const QString path = languageFolder + "/" + QString::fromStdString(name) + ".png";
            if (!window || !window->grab().save(path)) {
                std::fprintf(stderr, "%s: not rendered\n", qPrintable(path));
                ++failed;
                continue;
            }
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
