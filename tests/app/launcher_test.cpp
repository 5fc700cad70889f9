// The home screen starts, each tile opens the right window with its options, title and size, a
// cancelled panel opens nothing, and a closing tool window brings the home window back first.
#include "tests/app/app_test_helpers.h"
#include "tests/support/user_input.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include "widgets/dialogs/alert_window_controller.h"
#include "app/app_delegate.h"
#include "app/home_tiles.h"
#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "app/main_menu.h"
#include "app/window_placement.h"
#include "editor/edit_video_window_controller.h"
#include "platform/notification_center.h"
#include "services/folders.h"
#include "services/language.h"
#include "tools/beauty/beauty_window_controller.h"
#include "tools/collage/collage_window_controller.h"
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/gif/gif_window_controller.h"
#include "tools/joiner/joinner_window_controller.h"
#include "tools/reverse/reverse_view_controller.h"
#include "tools/reverse/reverse_window_controller.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/xj_label.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <optional>

namespace kestrel::test {
namespace {

using services::localized;

// What a tile must open. panel: 0 none, 1 videos, 2 videos and audio, 3 videos and pictures.
struct TileCase {
    int tag;
    const char* titleKey;
    int panel;
    std::function<QString(QObject*)> pathOf;  // the path the window holds; null = wrong class
    qint64 toolType = 0;                      // editor tiles
    bool magic = false;
    std::optional<float> sizedHeight;         // 1500-wide rule with this base height
};

template <class T>
QString pathVia(QObject* controller, QString (*get)(T*)) {
    auto* typed = qobject_cast<T*>(controller);
    return typed ? get(typed) : QString();
}

QString editorPath(QObject* c) { return pathVia<EditVideoWindowController>(c, [](EditVideoWindowController* e) { return e->filePath(); }); }
QString easyPath(QObject* c) { return pathVia<kestrel::tools::cutter::EasyCutterWindowcontroller>(c, [](kestrel::tools::cutter::EasyCutterWindowcontroller* w) { return w->filePath(); }); }
QString splitPath(QObject* c) { return pathVia<splitter::SplitWindowController>(c, [](splitter::SplitWindowController* w) { return w->filePath(); }); }
QString reversePath(QObject* c) {
    return pathVia<reverse::ReverseWindowController>(c, [](reverse::ReverseWindowController* w) {
        return w->contentViewController() ? w->contentViewController()->filePath() : QString();
    });
}
QString gifPath(QObject* c) {
    return pathVia<gif::GIFWindowController>(c, [](gif::GIFWindowController* w) {
        return w->contentViewController() ? w->contentViewController()->videoPath() : QString();
    });
}
QString converterPath(QObject* c) { return pathVia<converter3d::UI3DConverterWindowController>(c, [](converter3d::UI3DConverterWindowController* w) { return w->videoPath(); }); }
QString beautyPath(QObject* c) { return pathVia<beauty::BeautyWindowController>(c, [](beauty::BeautyWindowController* w) { return w->videoPath(); }); }
template <class T>
QString noPath(QObject* c) { return qobject_cast<T*>(c) ? QStringLiteral("-") : QString(); }

const std::vector<TileCase>& tileCases() {
    static const std::vector<TileCase> cases = {
        {1, "EasyCut_Title", 2, easyPath},
        {2, "BatchCut_Title", 0, noPath<kestrel::tools::cutter::BatchCutterWindowController>},
        {3, "AdvancedCut_Title", 1, editorPath, 1},
        {4, "Joiner_Title", 0, noPath<joiner::JoinnerWindowController>},
        {5, "Crop_Title", 1, editorPath, 4},
        {6, "Watermark_Title", 1, editorPath, 16},
        {7, "Subtitle_Title", 1, editorPath, 32},
        {8, "AddMusic_Title", 1, editorPath, 64},
        {9, "Effect_Title", 1, editorPath, 8},
        {10, "Speed_Title", 1, editorPath, 8},
        {11, "Rotate_Title", 1, editorPath, 2},
        {12, "Watermark_Title", 1, editorPath, 16},
        {13, "Split_Title", 2, splitPath},
        {14, "Reverse_Title", 2, reversePath, 0, false, 875.0f},
        {15, "ImageEnhancement_Title", 1, editorPath, 8, true},
        {16, "Collage_Title", 0, noPath<collage::CollageWindowController>},
        {17, "MakeGIF_Title", 1, gifPath, 0, false, 875.0f},
        {18, "VideoToPic_Title", 1, gifPath, 0, false, 875.0f},
        {19, "3D_Title", 1, converterPath, 0, false, 876.0f},
        {20, "Beauty_Title", 3, beautyPath, 0, false, 876.0f},
    };
    return cases;
}

class LauncherTest : public ShellTest {
protected:
    static void SetUpTestSuite() {
        media = new TempDir();
        makeMedia(media->file("clip.mp4"), FixtureSpec{.duration_s = 1.0, .width = 160, .height = 120});
        makeMedia(media->file("tone.MP3"), FixtureSpec{.duration_s = 1.0, .width = 0, .audio_codec = "libmp3lame"});
        makePicture(media->file("PHOTO.JPG"), 64, 48);
    }
    static void TearDownTestSuite() {
        delete media;
        media = nullptr;
    }
    static QString file(const char* name) { return QString::fromStdString(media->file(name)); }
    static TempDir* media;
};
TempDir* LauncherTest::media = nullptr;

TEST_F(LauncherTest, StartsToTheHomeScreenWithMenusAndTwentyTitledTiles) {
    EXPECT_TRUE(homeWindow()->isVisible());
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    EXPECT_EQ(homeWindow()->windowTitle(), localized("Ixy-de-Rz5.title"));
    EXPECT_EQ(homeWindow()->palette().color(QPalette::Window), QColor(33, 176, 235));
    EXPECT_EQ(home()->palette().color(QPalette::Window), QColor(23, 26, 32));
    EXPECT_EQ(home()->windowTitleLabel()->text(), localized("Ixy-de-Rz5.title") + " " + services::Language::getCurrentVersion() + " ");
    EXPECT_EQ(home()->descLabel()->text(), localized("viewController_normalDescLabelString"));
    EXPECT_FALSE(home()->appIconView()->pixmap().isNull());

    QMenuBar* bar = ui.delegate->mainMenu();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(app::topLevelItemWithTag(bar, 20), nullptr);
    EXPECT_EQ(app::topLevelItemWithTag(bar, 20)->menu()->title(), localized("LanguageBtnTitle"));
    EXPECT_EQ(app::topLevelItemWithTag(bar, 30)->menu()->title(), localized("FKE-Sm-Kum.title"));
    QMenu* application = app::topLevelItemWithTag(bar, 10)->menu();
    EXPECT_EQ(app::itemWithTag(application, 100)->text(), localized("5kV-Vb-QxS.title"));
    EXPECT_EQ(app::itemWithTag(application, 200)->text(), localized("4sb-4s-VLi.title"));
    EXPECT_EQ(app::topLevelItemWithTag(bar, 20)->menu()->actions().size(), 9);

    for (int tag = 1; tag <= 20; ++tag) {
        kestrel::widgets::ZorButton* tile = home()->tileWithTag(tag);
        ASSERT_NE(tile, nullptr) << tag;
        const QString name = app::subFunImageName(tag - 1);
        EXPECT_EQ(app::HomeViewController::tileLabel(tile)->text(), localized(name + "_Title")) << tag;
        EXPECT_FALSE(tile->normalImage().isNull()) << "no symbol for " << name.toStdString();
        EXPECT_FALSE(tile->normalBackgroundImage().isNull()) << tag;
    }
    EXPECT_EQ(home()->tileWithTag(21), nullptr);
}

// The pointer over a tile shows its hint and lights its title; moving on to another tile shows
// that one's hint; leaving the tiles keeps the last hint in the description line.
TEST_F(LauncherTest, HoverShowsTheTileHintAndLeavingKeepsIt) {
    kestrel::widgets::ZorButton* crop = home()->tileWithTag(5);
    kestrel::widgets::ZorButton* join = home()->tileWithTag(4);
    EXPECT_EQ(home()->descLabel()->text(), localized("viewController_normalDescLabelString"));
    kestrel::test::sendEnter(crop);
    EXPECT_EQ(home()->descLabel()->text(), localized("Crop_PlaceholderString"));
    EXPECT_EQ(app::HomeViewController::tileLabel(crop)->textColor(), QColor(96, 222, 208));
    // From one tile straight onto the next: the next one's hint.
    kestrel::test::sendLeave(crop);
    kestrel::test::sendEnter(join);
    EXPECT_EQ(home()->descLabel()->text(), localized("Join_PlaceholderString"));
    EXPECT_EQ(app::HomeViewController::tileLabel(crop)->textColor(), QColor(205, 214, 221));
    // Off the tiles: the hint stays, the title goes back to its colour.
    kestrel::test::sendLeave(join);
    EXPECT_EQ(home()->descLabel()->text(), localized("Join_PlaceholderString"));
    EXPECT_EQ(app::HomeViewController::tileLabel(join)->textColor(), QColor(205, 214, 221));
}

TEST_F(LauncherTest, EachTileOpensItsWindowWithItsOptionsTitleAndSize) {
    for (const TileCase& tile : tileCases()) {
        SCOPED_TRACE("tile " + std::to_string(tile.tag));
        // Pictures and audio where the tool takes them (the editor opens videos only).
        const bool editorTile = tile.toolType != 0;
        const QString input = tile.panel == 3 ? file("PHOTO.JPG")
                              : tile.panel == 2 && !editorTile ? file("tone.MP3") : file("clip.mp4");
        answerPanelWith({input, file("clip.mp4")});
        const std::size_t asked = requests.size();
        pressTile(tile.tag);
        ASSERT_FALSE(opened.empty());
        const OpenedTool tool = opened.back();
        ASSERT_TRUE(tool.controller && tool.window);

        if (tile.panel == 0) {
            EXPECT_EQ(requests.size(), asked) << "no panel expected";
            EXPECT_EQ(tile.pathOf(tool.controller), QStringLiteral("-")) << "wrong window class";
        } else {
            ASSERT_EQ(requests.size(), asked + 1);
            const kestrel::widgets::OpenPanelRequest& request = requests.back();
            EXPECT_TRUE(request.allowedFileTypes.contains("mp4"));
            EXPECT_EQ(request.allowedFileTypes.contains("mp3"), tile.panel == 2);
            EXPECT_EQ(request.allowedFileTypes.contains("jpg"), tile.panel == 3);
            EXPECT_EQ(request.allowsMultipleSelection, tile.panel == 3);
            EXPECT_EQ(request.directory, services::FileManager::moviesFolderPath() + "/" + localized("Title"));
            EXPECT_EQ(tile.pathOf(tool.controller), input) << "wrong window class or path";
        }
        if (auto* editor = qobject_cast<EditVideoWindowController*>(tool.controller.data())) {
            // The editor shows rotation in its crop panel and may settle on that type.
            if (tile.toolType == 2) EXPECT_TRUE(editor->toolItemType() == 2 || editor->toolItemType() == 4);
            else EXPECT_EQ(editor->toolItemType(), tile.toolType);
            EXPECT_EQ(editor->isMagicEnhance(), tile.magic);
            // Its header names the tile's tool, not the editor.
            bool named = false;
            for (const QLabel* label : tool.window->findChildren<QLabel*>()) {
                named |= label->text().startsWith(localized(tile.titleKey) + " " + localized("Title"));
                EXPECT_FALSE(label->text().startsWith(localized("VelmoraLabelTitle"))) << label->text().toStdString();
            }
            EXPECT_TRUE(named) << "no header naming " << tile.titleKey;
        }
        if (auto* gif = qobject_cast<gif::GIFWindowController*>(tool.controller.data()))
            EXPECT_EQ(gif->contentViewController()->tabState(), tile.tag == 18 ? -1 : 0);
        EXPECT_EQ(tool.window->windowTitle(), localized(tile.titleKey));
        EXPECT_TRUE(tool.window->isVisible());
        EXPECT_FALSE(homeWindow()->isVisible());

        std::optional<QSizeF> fixed;
        if (tile.sizedHeight) fixed = app::scaledToolWindowSize(app::mainScreenWidth(), 1500, *tile.sizedHeight);
        if (tile.tag == 16) fixed = app::scaledToolWindowSize(app::mainScreenWidth(), 1370, 770);
        if (fixed) {
            EXPECT_EQ(tool.window->size(), fixed->toSize());
            EXPECT_EQ(tool.window->minimumSize(), tool.window->maximumSize()) << "must not be resizable";
        }

        tool.window->close();
        ASSERT_TRUE(pumpUntil([&] { return homeWindow()->isVisible() && !tool.window; }));
    }
}

TEST_F(LauncherTest, ACancelledOrUnsuitablePanelOpensNothing) {
    for (const TileCase& tile : tileCases()) {
        if (tile.panel == 0) continue;
        SCOPED_TRACE("tile " + std::to_string(tile.tag));
        answerPanelWith({});
        const std::size_t asked = requests.size();
        pressTile(tile.tag);
        EXPECT_EQ(requests.size(), asked + 1);
        EXPECT_TRUE(opened.empty());
        EXPECT_TRUE(homeWindow()->isVisible());
    }
    // A file of another kind (".wm" is a video type, ".wma" only with audio) is refused with a message.
    QString message;
    closeNextModal([&](QWidget* modal) {
        if (auto* alert = qobject_cast<kestrel::widgets::AlertWindowController*>(modal)) message = alert->messageLabel()->text();
    });
    answerPanelWith({QStringLiteral("/nowhere/song.wma")});
    pressTile(5);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(message, localized("Main_Unsupported_File"));
    EXPECT_TRUE(homeWindow()->isVisible());
}

TEST_F(LauncherTest, HomeIsBackBeforeTheClosingToolWindowIsGone) {
    answerPanelWith({file("clip.mp4")});
    pressTile(13);
    ASSERT_EQ(opened.size(), 1u);
    QPointer<QWidget> tool = opened.front().window;
    bool homeShownWhileToolOnScreen = false;
    QObject guard;
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kWillCloseNotification,
        [&](const platform::Notification&) { homeShownWhileToolOnScreen = homeWindow()->isVisible() && tool && tool->isVisible(); },
        &guard);
    int lastWindowClosed = 0;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &guard, [&] { ++lastWindowClosed; });
    tool->close();
    EXPECT_TRUE(homeShownWhileToolOnScreen);
    ASSERT_TRUE(pumpUntil([&] { return !tool; })) << "the tool window frees itself";
    EXPECT_TRUE(homeWindow()->isVisible());
    EXPECT_EQ(lastWindowClosed, 0);
}

TEST_F(LauncherTest, TheApplicationRunsOnThroughAToolAndEndsWithItsLastWindow) {
    // Real event loop: collage opens (home closes), collage closes (home returns), home closes.
    std::vector<std::string> steps;
    QObject::connect(home(), &app::HomeViewController::toolOpened, home(), [&](QObject*, QWidget* window) {
        steps.push_back("tool");
        QTimer::singleShot(0, window, [window] { window->close(); });
    });
    QObject guard;
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kWillCloseNotification,
        [&](const platform::Notification&) {
            steps.push_back("back");
            QTimer::singleShot(0, homeWindow(), [this] { homeWindow()->close(); });
        },
        &guard);
    QTimer::singleShot(0, home(), [this] { home()->collageAction(); });
    QTimer::singleShot(60000, qApp, [] { QCoreApplication::exit(3); });  // only if the end never comes
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(steps, (std::vector<std::string>{"tool", "back"}));
    opened.clear();
}

TEST_F(LauncherTest, HomepageAndHelpOpenTheUserGuide) {
    UrlCatcher catcher;
    QTest::mouseClick(home()->homepageBtn(), Qt::LeftButton);
    ui.delegate->helpItemBtn()->trigger();
    ASSERT_EQ(catcher.urls.size(), 2u);
    const QUrl guide = QUrl::fromLocalFile(services::Language::resourcesPath() + "/guide/index.html");
    EXPECT_EQ(catcher.urls[0], guide);
    EXPECT_EQ(catcher.urls[1], guide);
    EXPECT_TRUE(QFileInfo(guide.toLocalFile()).isFile());
}

TEST_F(LauncherTest, AboutButtonOpensTheAboutBoxCentredOverHome) {
    QRect shown;
    QString title;
    closeNextModal([&](QWidget* about) {
        shown = about->geometry();
        title = about->windowTitle();
    });
    home()->aboutAction(nullptr);  // no sender: nothing
    EXPECT_TRUE(shown.isNull());
    QTest::mouseClick(home()->aboutBtn(), Qt::LeftButton);
    EXPECT_EQ(shown.size(), QSize(480, 270));
    EXPECT_EQ(title, localized("Ixy-de-Rz5.title") + " " + services::Language::getCurrentVersion() + " ");
}

// Last in the file: after an explicit quit, Qt runs no further modal loop in this process.
TEST_F(LauncherTest, QuitClosesTheToolWindowsFirstThenEnds) {
    home()->batch_cutterAction();
    ASSERT_EQ(opened.size(), 1u);
    QPointer<QWidget> tool = opened.front().window;
    bool toolClosed = false;
    QObject guard;
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kWillCloseNotification, [&](const platform::Notification&) { toolClosed = true; }, &guard);
    QAction* quit = app::itemWithTag(app::topLevelItemWithTag(ui.delegate->mainMenu(), 10)->menu(), 200);
    QTimer::singleShot(0, quit, [quit] { quit->trigger(); });
    QTimer never;   // only if the end never comes; gone with the test
    never.setSingleShot(true);
    QObject::connect(&never, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    never.start(60000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(toolClosed) << "the tool window was told to close before the end";
    pumpEvents();
    EXPECT_FALSE(tool);
    // A quit that arrives after the end would leave every later event loop (a dialog's, the next
    // test's) ending at once: one more short run of the application takes it.
    QTimer settle;
    settle.setSingleShot(true);
    QObject::connect(&settle, &QTimer::timeout, [] { QCoreApplication::exit(0); });
    settle.start(0);
    QApplication::exec();
}

}  // namespace
}  // namespace kestrel::test
