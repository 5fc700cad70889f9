// Text and picture lookups against a Resources folder built by the test (KESTREL_RESOURCES).
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cstdlib>

using services::Language;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void writePicture(const QString& path, int width, int height) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path, "PNG"));
}

void setLanguageIndex(qint64 index) { platform::UserDefaults::standard().setInteger("AppLanguage", index); }

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = QString::fromStdString(dir_.path());
        previousResources_ = qgetenv("KESTREL_RESOURCES");
        setenv("KESTREL_RESOURCES", dir_.path().c_str(), 1);
        platform::UserDefaults::standard().removeObjectForKey("AppLanguage");
    }
    void TearDown() override {
        // Back to the build's Resources for the tests that follow in this program.
        if (previousResources_.isEmpty()) unsetenv("KESTREL_RESOURCES");
        else setenv("KESTREL_RESOURCES", previousResources_.constData(), 1);
        platform::UserDefaults::standard().removeObjectForKey("AppLanguage");
    }
    // One table per language folder; the text of "Greeting" names the folder.
    void writeNineTables(bool withFourthLanguageItem = true) {
        for (int i = 0; i < Language::kLanguageCount; ++i) {
            const QString folder = Language::languageFolder(i);
            QByteArray table = "\"Greeting\" = \"hello " + folder.toUtf8() + "\";\n";
            if (withFourthLanguageItem) table += "\"LangeuageItem4\" = \"Deutsch\";\n";
            writeFile(root_ + "/" + folder + ".lproj/Main.strings", table);
        }
    }
    QString bundle() const { return root_ + "/Settings.bundle/"; }

    kestrel::test::TempDir dir_;
    QString root_;
    QByteArray previousResources_;
};

}  // namespace

TEST_F(LanguageTest, TextFollowsTheStoredLanguageAtEveryCall) {
    writeNineTables();
    const char* const folders[] = {"en", "zh-Hans", "zh-Hant", "fr", "de", "ja", "es", "pt-PT", "ar"};
    for (int i = 0; i < 9; ++i) {
        setLanguageIndex(i);
        EXPECT_EQ(services::localized("Greeting"), QString("hello ") + folders[i]) << i;
        EXPECT_EQ(Language::languageFolder(i), folders[i]);
    }
}

TEST_F(LanguageTest, StoredIndexIsClamped) {
    writeNineTables();
    struct Case {
        bool stored;
        qint64 value;
        const char* text;
        bool english;
        bool rightToLeft;
        int index;
    };
    const Case cases[] = {
        {false, 0, "hello en", true, false, 0},
        {true, -1, "hello en", true, false, 0},
        {true, 12, "hello ar", false, true, 8},
        {true, 8, "hello ar", false, true, 8},
        {true, 3, "hello fr", false, false, 3},
    };
    for (const Case& c : cases) {
        if (c.stored)
            setLanguageIndex(c.value);
        else
            platform::UserDefaults::standard().removeObjectForKey("AppLanguage");
        EXPECT_EQ(services::localized("Greeting"), c.text) << c.value;
        EXPECT_EQ(Language::isEnglishLanguage(), c.english) << c.value;
        EXPECT_EQ(Language::isalaboLanguage(), c.rightToLeft) << c.value;
        EXPECT_EQ(Language::currentLanguageIndex(), c.index) << c.value;
    }
}

TEST_F(LanguageTest, MissingKeysAndFoldersFallBack) {
    writeFile(root_ + "/en.lproj/Main.strings", "\"Greeting\" = \"hello en\";\n");
    writeFile(root_ + "/fr.lproj/Main.strings", "\"Greeting\" = \"bonjour\";\n");

    setLanguageIndex(3);
    EXPECT_EQ(services::localized("Greeting"), "bonjour");
    EXPECT_EQ(services::localized("No such key"), "No such key");
    EXPECT_EQ(Language::localizedStringForKey("No such key", "given value"), "given value");

    // No German folder: the base (English) table answers, and the given value is not used.
    setLanguageIndex(4);
    EXPECT_EQ(services::localized("Greeting"), "hello en");
    EXPECT_EQ(Language::localizedStringForKey("No such key", "given value"), "No such key");
}

TEST_F(LanguageTest, SetLanguageAttachesTheChosenFolder) {
    writeNineTables(true);
    setLanguageIndex(2);
    Language::setLanguage();
    EXPECT_EQ(Language::attachedLanguageFolder(), "zh-Hant");

    // A table without "LangeuageItem4" was written for the four-language list: index 2 is French.
    kestrel::test::TempDir older;
    setenv("KESTREL_RESOURCES", older.path().c_str(), 1);
    root_ = QString::fromStdString(older.path());
    writeNineTables(false);
    Language::setLanguage();
    EXPECT_EQ(Language::attachedLanguageFolder(), "fr");
    setLanguageIndex(6);
    Language::setLanguage();
    EXPECT_EQ(Language::attachedLanguageFolder(), "en");

    // A folder that is not there attaches nothing.
    QDir(root_ + "/en.lproj").removeRecursively();
    Language::setLanguage();
    EXPECT_EQ(Language::attachedLanguageFolder(), "");
}

TEST_F(LanguageTest, PicturesFallBackThroughPngAndScaledNames) {
    writePicture(bundle() + "ZantImage/Main/onlyDouble@2x.png", 40, 20);
    writePicture(bundle() + "ZantImage/Main/both.png", 10, 10);
    writePicture(bundle() + "ZantImage/Main/both@2x.png", 20, 20);
    writePicture(bundle() + "ZantImage/Main/triple@3x.png", 30, 30);
    writePicture(bundle() + "ZantImage/Main/triple@2x.png", 20, 20);
    writePicture(bundle() + "ZantImage/Reverse/imgProfile.bmp", 8, 4);  // PNG data under a .bmp name

    const QImage doubled = Language::imageWithfileName("ZantImage/Main/onlyDouble");
    ASSERT_FALSE(doubled.isNull());
    EXPECT_EQ(doubled.size(), QSize(40, 20));
    EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
    const QPixmap pixmap = Language::pixmapWithfileName("ZantImage/Main/onlyDouble");
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(20, 10));

    EXPECT_EQ(Language::imageWithfileName("ZantImage/Main/both").size(), QSize(10, 10));
    EXPECT_EQ(Language::imageWithfileName("ZantImage/Main/triple").size(), QSize(30, 30));
    EXPECT_EQ(Language::imageWithfileName("ZantImage/Main/both@2x.png").size(), QSize(20, 20));
    EXPECT_EQ(Language::imageWithfileName("ZantImage/Reverse/imgProfile.bmp").size(), QSize(8, 4));
    EXPECT_TRUE(Language::imageWithfileName("ZantImage/Main/none").isNull());
    EXPECT_TRUE(Language::pixmapWithfileName("ZantImage/Main/none").isNull());
    EXPECT_TRUE(Language::imageWithfileName("").isNull());

    // The bundle-object form takes the name exactly as given.
    EXPECT_TRUE(Language::bundleImageWithfileName("ZantImage/Main/onlyDouble").isNull());
    EXPECT_EQ(Language::bundleImageWithfileName("ZantImage/Main/onlyDouble@2x.png").size(), QSize(40, 20));

    EXPECT_EQ(Language::pathWithfileName("ZantImage/Main/both.png"), bundle() + "ZantImage/Main/both.png");
    EXPECT_EQ(Language::pathWithfileName("ZantImage/Main/both"), "");
    EXPECT_EQ(Language::resourceBundlePath() + "/", bundle());
}

TEST(LanguageInfo, VersionAndRatios) {
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+(\\.\\d+)?$").match(Language::getCurrentVersion()).hasMatch())
        << Language::getCurrentVersion().toStdString();
    EXPECT_FALSE(Language::getCurrentBundleIdentifier().isEmpty());

    struct Case {
        const char* text;
        double ratio;
    };
    const Case cases[] = {
        {"16:9", double(16.0f) / double(9.0f)}, {"4:3", double(4.0f) / double(3.0f)}, {"1:1", 1.0},
        {"2.35:1", double(2.35f)}, {" 9 :16", double(9.0f) / double(16.0f)}, {"4", 0}, {"", 0},
        {"16:9:1", 0}, {"a:b", 0}, {"16:0", 0}, {"16:", 0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(services::ratioValue(c.text), c.ratio) << c.text;
    EXPECT_EQ(services::charValue(QString::fromUtf8("d\xC3\xA9j\xC3\xA0")), QByteArray("d\xC3\xA9j\xC3\xA0"));
}
