// A layout file that is missing or damaged is refused with a message naming it, and the window
// then offers no layout and no cell rather than cells outside the frame.
#include "services/language.h"
#include "tests/support/temp_dir.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kestrel::test;

namespace {

// A resources folder like the installed one, its entries linked, with a layout file of our own
// (none for an empty text).
QString resourcesWithLayouts(const TempDir& dir, const QByteArray& layouts) {
    const QString real = services::Language::resourcesPath();
    const QString mirror = QString::fromStdString(dir.file("resources"));
    const QString bundle = mirror + "/Settings.bundle";
    QDir().mkpath(bundle);
    for (const QString& entry : QDir(real).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "Settings.bundle") QFile::link(real + "/" + entry, mirror + "/" + entry);
    const QDir source(real + "/Settings.bundle");
    for (const QString& entry : source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "SplitType.ini") QFile::link(source.filePath(entry), bundle + "/" + entry);
    if (!layouts.isEmpty()) {
        QFile file(bundle + "/SplitType.ini");
        if (file.open(QIODevice::WriteOnly)) file.write(layouts);
    }
    return mirror;
}

// Points $KESTREL_RESOURCES at path while it lives, then gives back what was there (the test
// programs find the build's resources through it).
struct ResourcesOverride {
    explicit ResourcesOverride(const QString& path) : previous(qgetenv("KESTREL_RESOURCES")), hadPrevious(qEnvironmentVariableIsSet("KESTREL_RESOURCES")) {
        qputenv("KESTREL_RESOURCES", path.toLocal8Bit());
    }
    ~ResourcesOverride() {
        if (hadPrevious) qputenv("KESTREL_RESOURCES", previous);
        else qunsetenv("KESTREL_RESOURCES");
    }
    QByteArray previous;
    bool hadPrevious;
};

QByteArray layoutFile(const QByteArray& third) {
    QByteArray text = "[SplitType]\r\n";
    for (int i = 1; i <= 19; ++i)
        text += "Type" + QByteArray::number(i) + "=" + (i == 3 ? third : QByteArray("(0,0,50,100);(50,0,100,100)")) + "\r\n";
    return text;
}

}  // namespace

TEST(CollageLayoutFile, MissingOrDamagedIsRefusedWithItsName) {
    struct Case {
        const char* name;
        QByteArray file;
    };
    const Case cases[] = {
        {"missing", QByteArray()},
        {"cell turned inside out", layoutFile("(50,0,0,100);(50,0,100,100)")},
        {"cell outside the frame", layoutFile("(0,0,50,100);(50,0,150,100)")},
        {"layout without cells", layoutFile("")},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ResourcesOverride resources(resourcesWithLayouts(dir, c.file));
        CollageHarness h;
        ASSERT_EQ(h.alerts.size(), 1) << c.name;
        EXPECT_TRUE(h.alerts.first().contains("SplitType.ini")) << c.name << ": " << h.alerts.first().toStdString();
        if (!c.file.isEmpty()) EXPECT_TRUE(h.alerts.first().contains("3")) << c.name;
        EXPECT_EQ(h.w().layoutList->count(), 0) << c.name;
        EXPECT_TRUE(h.w().cellViews().isEmpty()) << c.name;
        EXPECT_FALSE(h.w().exportBtn->isEnabled()) << c.name;
    }
    // A sound file of our own is taken without a word.
    TempDir dir;
    ResourcesOverride resources(resourcesWithLayouts(dir, layoutFile("(0,0,100,50);(0,50,100,100)")));
    CollageHarness h;
    EXPECT_TRUE(h.alerts.isEmpty());
    EXPECT_EQ(h.w().layoutList->count(), 19);
    EXPECT_EQ(h.w().cellViews().size(), 2);
}
