#pragma once
// The main menu and the tags its code relies on. Top level: 10 the application menu (items 100
// About, 200 Quit), 20 the language menu (items 100 + language index), 30 the help menu (item
// 100 the help entry). Tags are kept in each action's data.
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace app {

class AppDelegate;

namespace menu_tag {
constexpr int kApplication = 10;
constexpr int kLanguage = 20;
constexpr int kHelp = 30;
constexpr int kAbout = 100;
constexpr int kQuit = 200;
constexpr int kHelpItem = 100;
constexpr int kFirstLanguage = 100;
}  // namespace menu_tag

// The title of a language's entry ("LangeuageItem0" .. "LangeuageItem8"), in its own language.
QString languageItemTitle(int index);

int tagOf(const QAction* action);
QAction* topLevelItemWithTag(const QMenuBar* bar, int tag);
QAction* itemWithTag(const QMenu* menu, int tag);

// Builds the menus into bar and wires them to the delegate (which becomes their owner's target).
void buildMainMenu(QMenuBar* bar, AppDelegate* delegate);

// Titles the menu through the language service. The help entry (tag 100 under tag 30) takes the
// help menu's title only on a switch, as the launch keeps the text the menu was built with.
void titleMainMenu(QMenuBar* bar, bool languageSwitch);

}  // namespace app
