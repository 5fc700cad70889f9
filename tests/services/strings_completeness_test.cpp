// Every key the code asks for exists, in every language, translated; and the built Resources
// hold what the sources describe.
#include "services/language.h"
#include "services/strings_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(KESTREL_SOURCE_DIR);
const QStringList kLanguages = {"en", "zh-Hans", "zh-Hant", "fr", "de", "ja", "es", "pt-PT", "ar"};

// All area files of one language, merged; a problem in a file is reported as a test failure.
QHash<QString, QString> sourceTable(const QString& language) {
    QHash<QString, QString> table;
    QDir dir(kSource + "/Settings.bundle/strings/" + language);
    for (const QString& name : dir.entryList({"*.strings"}, QDir::Files, QDir::Name)) {
        const auto parsed = services::readStringsFile(dir.filePath(name));
        EXPECT_TRUE(parsed.ok()) << language.toStdString() << "/" << name.toStdString() << ":" << parsed.errorLine
                                 << ": " << parsed.error.toStdString();
        for (const auto& entry : parsed.entries) {
            EXPECT_FALSE(table.contains(entry.key))
                << "key \"" << entry.key.toStdString() << "\" defined twice in " << language.toStdString();
            table.insert(entry.key, entry.value);
        }
    }
    return table;
}

// Texts that read the same in every language (names, formats); one per line in universal.txt.
QSet<QString> universalTexts() {
    QSet<QString> texts;
    QFile file(kSource + "/Settings.bundle/strings/universal.txt");
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith('#')) texts.insert(line);
        }
    }
    return texts;
}

bool needsTranslation(const QString& text, const QSet<QString>& universal) {
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    static const QRegularExpression address(QStringLiteral("^(https?://|mailto:)|^[^ ]+@[^ ]+\\.[^ ]+$"));
    return text.contains(letter) && !address.match(text).hasMatch() && !universal.contains(text);
}

}  // namespace

TEST(StringsCompleteness, EveryKeyIsInEveryLanguageAndTranslated) {
    const QHash<QString, QString> english = sourceTable("en");
    ASSERT_FALSE(english.isEmpty());
    const QSet<QString> universal = universalTexts();
    QHash<QString, int> sameAsEnglish;
    for (const QString& language : kLanguages.mid(1)) {
        const QHash<QString, QString> table = sourceTable(language);
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (!table.contains(it.key())) {
                ADD_FAILURE() << "\"" << it.key().toStdString() << "\" has no " << language.toStdString() << " text";
                continue;
            }
            const QString text = table.value(it.key());
            if (text.isEmpty() && !it.value().isEmpty())
                ADD_FAILURE() << "\"" << it.key().toStdString() << "\" is empty in " << language.toStdString();
            if (text == it.value()) ++sameAsEnglish[it.key()];
        }
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            EXPECT_TRUE(english.contains(it.key()))
                << "\"" << it.key().toStdString() << "\" is in " << language.toStdString() << " but not in en";
    }
    // One language may share a word with English ("Image", "Start"); all eight cannot.
    for (auto it = sameAsEnglish.cbegin(); it != sameAsEnglish.cend(); ++it)
        if (it.value() == kLanguages.size() - 1 && needsTranslation(english.value(it.key()), universal))
            ADD_FAILURE() << "\"" << it.key().toStdString() << "\" reads \"" << english.value(it.key()).toStdString()
                          << "\" in every language; translate it or list the text in strings/universal.txt";
}

TEST(StringsCompleteness, EveryKeyUsedInTheCodeExists) {
    const QHash<QString, QString> english = sourceTable("en");
    // localized("Key") and localizedStringForKey("Key"...), the literal optionally in QStringLiteral.
    static const QRegularExpression call(QStringLiteral(
        R"re(\b(?:localized|localizedStringForKey)\s*\(\s*(?:QStringLiteral\s*\(\s*)?"((?:[^"\\\n]|\\.)*)")re"));
    int calls = 0;
    for (const char* folder : {"app", "services", "widgets", "export", "editor", "tools"}) {
        QDirIterator files(kSource + "/" + QString::fromLatin1(folder), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QString text = QString::fromUtf8(file.readAll());
            for (auto match = call.globalMatch(text); match.hasNext();) {
                const QRegularExpressionMatch found = match.next();
                QString key = found.captured(1);
                key.replace("\\\"", "\"").replace("\\\\", "\\");
                ++calls;
                const int line = int(text.left(found.capturedStart()).count('\n')) + 1;
                EXPECT_TRUE(english.contains(key)) << QDir(kSource).relativeFilePath(path).toStdString() << ":" << line
                                                   << ": key \"" << key.toStdString() << "\" is in no en strings file";
            }
        }
    }
    RecordProperty("localized_calls", calls);
}

TEST(BuiltResources, HoldEveryLanguageTableAndRenderedPicture) {
    const QString resources = QStringLiteral(KESTREL_BUILD_RESOURCES_DIR);
    for (const QString& language : kLanguages) {
        const auto built = services::readStringsFile(resources + "/" + language + ".lproj/Main.strings");
        ASSERT_TRUE(built.ok()) << language.toStdString() << ": " << built.error.toStdString();
        EXPECT_EQ(built.toHash(), sourceTable(language)) << language.toStdString();
    }

    // Each SVG source becomes a PNG at the same place, at its scale.
    const QString icons = kSource + "/Settings.bundle/icons";
    QDirIterator svgs(icons, {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
    int pictures = 0;
    while (svgs.hasNext()) {
        const QString svg = svgs.next();
        const QString relative = QDir(icons).relativeFilePath(svg);
        const QString png = resources + "/Settings.bundle/" + relative.chopped(4) + ".png";
        const QImage picture(png);
        ASSERT_FALSE(picture.isNull()) << png.toStdString();
        const QSize svgSize = QSvgRenderer(svg).defaultSize();
        const int scale = relative.contains("@3x") ? 3 : relative.contains("@2x") ? 2 : 1;
        EXPECT_EQ(picture.size(), svgSize * scale) << relative.toStdString();
        ++pictures;
    }
    EXPECT_GT(pictures, 0);
}
