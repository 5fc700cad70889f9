// The program installed as a user installs it: `cmake --install` of this build into a temporary
// DESTDIR under the default prefix. The desktop entry and the AppStream metadata pass their
// validators and say what the strings tables and the open panels say; the icon comes in every
// size; the user guide has a page per tool; the installed program, started from a folder
// outside the build with nothing pointing at the build, comes up to its home screen quietly.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "app/home_tiles.h"
#include "services/strings_file.h"
#include "widgets/dialogs/file_kinds.h"

namespace {

const QString kAppId = QStringLiteral(KESTREL_APP_ID);
const QString kPrefix = QStringLiteral("/usr/local");  // the default when none is given
const QStringList kLanguages{"en", "zh-Hans", "zh-Hant", "fr", "de", "ja", "es", "pt-PT", "ar"};
const QStringList kDesktopLocales{"", "zh_CN", "zh_TW", "fr", "de", "ja", "es", "pt_PT", "ar"};

struct ProcessRun {
    int exitCode = -1;
    QString output;  // standard output and error together
};

// Runs a program to its end; a program that never ends is stopped after a generous guard.
ProcessRun run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
        const QString& folder = QString()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ProcessRun result;
    if (!process.waitForStarted(30000)) {
        result.output = program + ": " + process.errorString();
        return result;
    }
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        result.output = program + " did not end";
    }
    result.output += QString::fromLocal8Bit(process.readAll());
    if (process.exitStatus() == QProcess::NormalExit) result.exitCode = process.exitCode();
    return result;
}

QHash<QString, QString> stringsTable(const QString& path) { return services::readStringsFile(path).toHash(); }

// "Key=value" and "Key[locale]=value" lines of the desktop entry's main group.
QHash<QString, QString> desktopEntry(const QString& path) {
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return keys;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#')) keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

class InstalledProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(destdir_.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DESTDIR", destdir_.path());
        const ProcessRun install = run(QStringLiteral(KESTREL_CMAKE_COMMAND),
                                {"--install", QStringLiteral(KESTREL_BUILD_DIR)}, environment);
        ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();
    }

    QString installed(const QString& path) const { return destdir_.path() + kPrefix + "/" + path; }
    QString resources() const { return installed("share/kestrel/Resources"); }

    QTemporaryDir destdir_;
};

TEST_F(InstalledProgram, PutsEveryFileInItsPlaceAndTheValidatorsAcceptTheDesktopFiles) {
    EXPECT_TRUE(QFileInfo(installed("bin/kestrel")).isExecutable());
    for (const QString& language : kLanguages)
        EXPECT_TRUE(QFileInfo(resources() + "/" + language + ".lproj/Main.strings").isFile()) << language.toStdString();
    EXPECT_TRUE(QFileInfo(resources() + "/Settings.bundle/functionFolder/pf.dat").isFile());
    EXPECT_TRUE(QFileInfo(resources() + "/Settings.bundle/ZantImage/Main/btnCommon_Normal@2x.png").isFile());

    // Nothing but the program, its resources and the desktop's files (and, from a build with
    // shared folder libraries, those libraries in the program's own folder under lib/).
    const QStringList places{"bin/kestrel", "lib/kestrel/", "share/kestrel/", "share/applications/" + kAppId + ".desktop",
                             "share/metainfo/" + kAppId + ".metainfo.xml", "share/icons/hicolor/"};
    for (QDirIterator it(destdir_.path(), QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next().mid(destdir_.path().size());
        const bool placed = std::any_of(places.begin(), places.end(),
                                        [&](const QString& place) { return path.startsWith(kPrefix + "/" + place); });
        EXPECT_TRUE(placed) << "installed outside its places: " << path.toStdString();
    }

    for (int size : {KESTREL_ICON_SIZES}) {
        const QString icon = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId));
        EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
    }
    EXPECT_TRUE(QFileInfo(installed("share/icons/hicolor/scalable/apps/" + kAppId + ".svg")).isFile());
    EXPECT_GE(QList<int>({KESTREL_ICON_SIZES}).constFirst(), 16);
    EXPECT_EQ(QList<int>({KESTREL_ICON_SIZES}).constLast(), 512);

    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const ProcessRun desktop = run("desktop-file-validate", {installed("share/applications/" + kAppId + ".desktop")}, environment);
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output.toStdString();
    EXPECT_TRUE(desktop.output.trimmed().isEmpty()) << desktop.output.toStdString();  // not even a hint
    const ProcessRun metainfo =
        run("appstreamcli", {"validate", "--no-net", installed("share/metainfo/" + kAppId + ".metainfo.xml")}, environment);
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.toStdString();
}

TEST_F(InstalledProgram, DesktopEntryNamesItInEveryLanguageAndTakesTheFilesTheOpenPanelsTake) {
    const QHash<QString, QString> entry = desktopEntry(installed("share/applications/" + kAppId + ".desktop"));
    ASSERT_FALSE(entry.isEmpty());
    EXPECT_EQ(entry.value("Exec"), "kestrel");
    EXPECT_EQ(entry.value("Icon"), kAppId);
    EXPECT_EQ(entry.value("Categories"), "AudioVideo;Video;AudioVideoEditing;");

    // Name and comment as the strings tables have them; a language that says it as English does
    // needs no line of its own.
    const QHash<QString, QString> english = stringsTable(resources() + "/en.lproj/Main.strings");
    for (int i = 0; i < kLanguages.size(); ++i) {
        const QHash<QString, QString> table = stringsTable(resources() + "/" + kLanguages[i] + ".lproj/Main.strings");
        for (const auto& [key, textKey] : {std::pair{QStringLiteral("Name"), QStringLiteral("Title")},
                                           std::pair{QStringLiteral("Comment"), QStringLiteral("bottomContentLabelstring")}}) {
            ASSERT_TRUE(table.contains(textKey)) << kLanguages[i].toStdString();
            const QString localizedKey = kDesktopLocales[i].isEmpty() ? key : key + "[" + kDesktopLocales[i] + "]";
            const QString shown = entry.value(localizedKey, entry.value(key));
            EXPECT_EQ(shown, table.value(textKey)) << localizedKey.toStdString();
        }
    }

    // Every video and audio file the open panels take is one the entry says it takes, by the
    // type the desktop gives that file.
    const QStringList listedTypes = entry.value("MimeType").split(';', Qt::SkipEmptyParts);
    const QSet<QString> listed(listedTypes.begin(), listedTypes.end());
    const QMimeDatabase database;
    int known = 0;
    for (const auto& [extensions, kind] : {std::pair{kestrel::widgets::videoFileTypes(), QStringLiteral("video")},
                                           std::pair{kestrel::widgets::audioFileTypes(), QStringLiteral("audio")}}) {
        for (const QString& extension : extensions) {
            const QMimeType type = database.mimeTypeForFile("clip." + extension, QMimeDatabase::MatchExtension);
            if (!type.name().startsWith(kind + "/") && type.genericIconName() != kind + "-x-generic") continue;
            ++known;
            EXPECT_TRUE(listed.contains(type.name())) << extension.toStdString() << " is " << type.name().toStdString();
        }
    }
    EXPECT_GT(known, 20);  // the desktop knows most of them
    for (const QString& type : listed) EXPECT_TRUE(database.mimeTypeForName(type).isValid()) << type.toStdString();

    // The metadata speaks of the same program.
    QFile metainfo(installed("share/metainfo/" + kAppId + ".metainfo.xml"));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(metainfo.readAll());
    EXPECT_TRUE(xml.contains("<id>" + kAppId + "</id>"));
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">" + kAppId + ".desktop</launchable>"));
    EXPECT_TRUE(xml.contains("<name>" + english.value("Title").toHtmlEscaped() + "</name>"));
}

TEST_F(InstalledProgram, GuideHasAPageForEveryToolTitledAsItsTile) {
    const QHash<QString, QString> english = stringsTable(resources() + "/en.lproj/Main.strings");
    QFile index(resources() + "/guide/index.html");
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString indexHtml = QString::fromUtf8(index.readAll());

    static const QRegularExpression link(QStringLiteral("href=\"([a-z0-9-]+\\.html)\""));
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
    QSet<QString> pageTitles;
    for (auto it = link.globalMatch(indexHtml); it.hasNext();) {
        QFile page(resources() + "/guide/" + it.next().captured(1));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << page.fileName().toStdString();
        pageTitles.insert(title.match(QString::fromUtf8(page.readAll())).captured(1));
    }
    for (int tile = 0; tile < app::kHomeTileCount; ++tile) {
        const QString tileTitle = english.value(app::subFunImageName(tile) + "_Title");
        ASSERT_FALSE(tileTitle.isEmpty());
        EXPECT_TRUE(pageTitles.contains(tileTitle.toHtmlEscaped())) << "no guide page for " << tileTitle.toStdString();
    }
}

TEST_F(InstalledProgram, SupportAddressIsTheBuildsOrNone) {
    for (const QString& language : kLanguages) {
        QFile file(resources() + "/" + language + ".lproj/Main.strings");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_FALSE(text.contains("example.org")) << language.toStdString();
        const QHash<QString, QString> table = services::parseStrings(text).toHash();
        if (QStringLiteral(KESTREL_SUPPORT_EMAIL).isEmpty())
            EXPECT_FALSE(table.contains("email_address")) << language.toStdString();
        else
            EXPECT_EQ(table.value("email_address"), KESTREL_SUPPORT_EMAIL) << language.toStdString();
    }
}

TEST_F(InstalledProgram, StartsFromAnyFolderToItsHomeScreenQuietly) {
    // Nothing may lead it to the build: no resources variable, a working folder elsewhere.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("KESTREL_RESOURCES");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("KESTREL_STARTUP_CHECK", "1");
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    ASSERT_FALSE(elsewhere.path().startsWith(QStringLiteral(KESTREL_BUILD_DIR)));
    const ProcessRun started = run(installed("bin/kestrel"), {}, environment, elsewhere.path());
    EXPECT_EQ(started.exitCode, 0) << started.output.toStdString();
    EXPECT_TRUE(started.output.isEmpty()) << started.output.toStdString();
}

}  // namespace
