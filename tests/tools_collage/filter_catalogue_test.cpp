// The filter window: the built-in catalogue offline, and a catalogue served from 127.0.0.1 whose
// tables are downloaded once, checked, cached and handed back.
#include "platform/user_defaults.h"
#include "services/language.h"
#include "session/edit/collage_composition.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tests/tools_collage/http_server_helpers.h"
#include "tools/collage/collage_filter_window.h"
#include "tools/collage/filter_catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using kestrel::tools::collage::CollageFilterWindow;

namespace {

QByteArray swapCube() {
    QByteArray text = "LUT_3D_SIZE 2\n";
    for (int b = 0; b < 2; ++b)
        for (int g = 0; g < 2; ++g)
            for (int r = 0; r < 2; ++r) text += QByteArray::number(b) + ' ' + QByteArray::number(g) + ' ' + QByteArray::number(r) + '\n';
    return text;
}

class FilterCatalogue : public ::testing::Test {
protected:
    void SetUp() override { setBase(QString()); }
    void TearDown() override {
        delete window.data();
        setBase(QString());
        QDir(QFileInfo(kestrel::tools::collage::catalogueCachePath()).path()).removeRecursively();
    }
    static void setBase(const QString& base) {
        ::platform::UserDefaults::standard().setString(QString::fromLatin1(kestrel::tools::collage::kFilterCatalogueBaseKey), base);
    }
    void open() {
        window = new CollageFilterWindow(kestrel::session::CollageSpec{}, 384, 216, [this](const QString& path, const QString& name) {
            handedPath = path;
            handedName = name;
        });
        window->show();
        QTest::qWaitForWindowExposed(window);
    }
    int rowOf(const QString& id) const {
        for (int i = 0; i < window->entries().size(); ++i)
            if (window->entries()[i].id == id) return i;
        return -1;
    }
    void click(const QString& id) {
        const int row = rowOf(id);
        ASSERT_GE(row, 0) << id.toStdString();
        QListWidgetItem* item = window->list->item(row);
        QTest::mouseClick(window->list->viewport(), Qt::LeftButton, {}, window->list->visualItemRect(item).center());
    }
    int builtInCount() const {
        int n = 0;
        for (const auto& e : window->entries()) n += e.builtIn;
        return n;
    }

    QPointer<CollageFilterWindow> window;
    QString handedPath, handedName;
};

}  // namespace

// No address configured, or none answering: the built-in filters, usable at once.
TEST_F(FilterCatalogue, BuiltInFiltersWorkOffline) {
    LocalHttpServer closed;
    const QString base = closed.base();
    closed.close();
    setBase(base);
    open();
    ASSERT_TRUE(waitUntil([&] { return !window->catalogueLoading(); }, 30000));
    EXPECT_EQ(window->entries().size(), 7);
    EXPECT_EQ(builtInCount(), 7);
    EXPECT_FALSE(window->statusLabel->text().isEmpty());  // says the rest cannot be loaded now
    for (const auto& entry : window->entries())
        EXPECT_TRUE(kestrel::session::isUsableLookupTable(entry.tablePath)) << entry.id.toStdString();
    click(QStringLiteral("builtin.mono"));
    QTest::mouseClick(window->okBtn, Qt::LeftButton);
    EXPECT_TRUE(handedPath.endsWith(QStringLiteral("/filters/mono.cube"))) << handedPath.toStdString();
    EXPECT_FALSE(handedName.isEmpty());
}

// Served tables: a good one is downloaded once and handed back; a damaged one and a missing one
// are reported and not chosen; the catalogue is cached for the next opening.
TEST_F(FilterCatalogue, DownloadsCheckedTablesOnce) {
    LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    const QString b = server.base();
    server.serve("/filter/filter.json",
                 QStringLiteral(R"({"title_en":[
                     {"id":"net.swap","name":"Swap","urlcover":"%1/swap.png","urlfilter":"%1/swap.cube"},
                     {"id":"net.bad","name":"Broken","urlcover":"","urlfilter":"%1/bad.cube"},
                     {"id":"net.gone","name":"Gone","urlcover":"","urlfilter":"%1/gone.cube"}],
                   "title_cn":[]})")
                     .arg(b)
                     .toUtf8());
    server.serve("/swap.cube", swapCube());
    server.serve("/bad.cube", "LUT_3D_SIZE 2\n0 0 0\n");
    setBase(b + "/");
    open();
    ASSERT_TRUE(waitUntil([&] { return rowOf("net.swap") >= 0; }, 30000));
    EXPECT_EQ(builtInCount(), 7);
    EXPECT_EQ(window->entries().size(), 10);

    for (const char* id : {"net.bad", "net.gone"}) {
        click(QString::fromLatin1(id));
        ASSERT_TRUE(waitUntil([&] { return window->downloadsRunning() == 0; }, 30000)) << id;
        EXPECT_TRUE(window->chosenTable().isEmpty()) << id;
        EXPECT_TRUE(window->entries()[rowOf(id)].tablePath.isEmpty()) << id;
        EXPECT_FALSE(window->statusLabel->text().isEmpty()) << id;
    }
    click("net.swap");
    ASSERT_TRUE(waitUntil([&] { return !window->chosenTable().isEmpty(); }, 30000));
    const QString cached = window->chosenTable();
    EXPECT_TRUE(kestrel::session::isUsableLookupTable(cached));
    click("net.swap");  // already downloaded: chosen again without traffic
    QTest::qWait(200);
    EXPECT_EQ(server.requests("/swap.cube"), 1);
    QTest::mouseClick(window->okBtn, Qt::LeftButton);
    EXPECT_EQ(handedPath, cached);
    EXPECT_EQ(handedName, "Swap");

    // Next opening without the server: the cached catalogue and table are there at once.
    server.close();
    ASSERT_TRUE(waitUntil([&] { return window.isNull(); }, 5000));
    open();
    const int row = rowOf("net.swap");
    ASSERT_GE(row, 0);
    EXPECT_EQ(window->entries()[row].tablePath, cached);
    EXPECT_TRUE(window->entries()[rowOf("net.bad")].tablePath.isEmpty());
}

// Plain http is taken only from the configured base's host; a table larger than any lookup table
// is refused while it arrives and never chosen.
TEST_F(FilterCatalogue, PlainHttpOnlyFromTheBaseAndTablesOfLookupSize) {
    LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    const QString b = server.base();
    QString other = b;
    other.replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
    server.serve("/filter/filter.json",
                 QStringLiteral(R"({"title_en":[
                     {"id":"net.elsewhere","name":"Elsewhere","urlcover":"","urlfilter":"%2/swap.cube"},
                     {"id":"net.secure","name":"Secure","urlcover":"http://example.invalid/c.png","urlfilter":"https://example.invalid/s.cube"},
                     {"id":"net.huge","name":"Huge","urlcover":"","urlfilter":"%1/huge.cube"}],
                   "title_cn":[]})")
                     .arg(b, other)
                     .toUtf8());
    server.serve("/swap.cube", swapCube());
    QByteArray huge = swapCube();
    huge += QByteArray(9 << 20, '#');
    server.serve("/huge.cube", huge);
    setBase(b);
    open();
    ASSERT_TRUE(waitUntil([&] { return rowOf("net.huge") >= 0; }, 30000));
    EXPECT_EQ(rowOf("net.elsewhere"), -1);
    ASSERT_GE(rowOf("net.secure"), 0);
    EXPECT_TRUE(window->entries()[rowOf("net.secure")].coverAddress.isEmpty());
    click("net.huge");
    ASSERT_TRUE(waitUntil([&] { return window->downloadsRunning() == 0; }, 30000));
    EXPECT_TRUE(window->chosenTable().isEmpty());
    EXPECT_TRUE(window->entries()[rowOf("net.huge")].tablePath.isEmpty());
    EXPECT_FALSE(window->statusLabel->text().isEmpty());
    EXPECT_EQ(server.requests("/swap.cube"), 0);
}

// A downloaded catalogue's list is the one the language's strings table asks for: the Chinese
// titles in both Chinese tables, the English ones everywhere else.
TEST(FilterCatalogueLanguage, TheStringsTableChoosesTheList) {
    const QByteArray document = R"({"title_en":[{"id":"en.one","name":"One","urlcover":"","urlfilter":"https://example.org/one.cube"}],
                                    "title_cn":[{"id":"cn.one","name":"Yi","urlcover":"","urlfilter":"https://example.org/yi.cube"}]})";
    auto& defaults = platform::UserDefaults::standard();
    const qint64 before = defaults.integerForKey("AppLanguage");
    const struct { int language; const char* id; } cases[] = {
        {0, "en.one"}, {1, "cn.one"}, {2, "cn.one"}, {3, "en.one"}, {4, "en.one"}, {5, "en.one"}, {8, "en.one"}};
    for (const auto& c : cases) {
        defaults.setInteger("AppLanguage", c.language);
        services::Language::setLanguage();
        const QList<kestrel::tools::collage::FilterEntry> entries = kestrel::tools::collage::parseCatalogue(document);
        ASSERT_EQ(entries.size(), 1) << "language " << c.language;
        EXPECT_EQ(entries.front().id.toStdString(), c.id) << "language " << c.language;
    }
    defaults.setInteger("AppLanguage", before);
    services::Language::setLanguage();
}
