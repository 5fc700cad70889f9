#include "app/main_menu.h"

#include "app/app_delegate.h"
#include "services/language.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace app {

using services::localized;

QString languageItemTitle(int index) {
    const QString key = QStringLiteral("LangeuageItem") + QString::number(index);
    return localized(key);
}

int tagOf(const QAction* action) { return action ? action->data().toInt() : 0; }

QAction* topLevelItemWithTag(const QMenuBar* bar, int tag) {
    for (QAction* action : bar->actions())
        if (tagOf(action) == tag) return action;
    return nullptr;
}

QAction* itemWithTag(const QMenu* menu, int tag) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions())
        if (tagOf(action) == tag) return action;
    return nullptr;
}

namespace {

QMenu* addTaggedMenu(QMenuBar* bar, int tag, const QString& title) {
    QMenu* menu = bar->addMenu(title);
    menu->menuAction()->setData(tag);
    return menu;
}

QAction* addTaggedItem(QMenu* menu, int tag, const QString& title) {
    QAction* item = menu->addAction(title);
    item->setData(tag);
    return item;
}

}  // namespace

void buildMainMenu(QMenuBar* bar, AppDelegate* delegate) {
    QMenu* application = addTaggedMenu(bar, menu_tag::kApplication, localized(QStringLiteral("Title")));
    QAction* about = addTaggedItem(application, menu_tag::kAbout, QString());
    about->setMenuRole(QAction::NoRole);
    QObject::connect(about, &QAction::triggered, delegate, [delegate] { delegate->showAboutBox(); });
    application->addSeparator();
    QAction* quit = addTaggedItem(application, menu_tag::kQuit, QString());
    quit->setShortcut(QKeySequence::Quit);
    QObject::connect(quit, &QAction::triggered, delegate, [delegate] { delegate->quitAction(); });

    QMenu* language = addTaggedMenu(bar, menu_tag::kLanguage, QString());
    auto* choices = new QActionGroup(language);
    const int current = services::Language::currentLanguageIndex();
    for (int index = 0; index < services::Language::kLanguageCount; ++index) {
        QAction* item = addTaggedItem(language, menu_tag::kFirstLanguage + index, languageItemTitle(index));
        item->setCheckable(true);
        item->setChecked(index == current);
        choices->addAction(item);
        QObject::connect(item, &QAction::triggered, delegate, [delegate, item] { delegate->changeLangeuage(item); });
    }

    QMenu* help = addTaggedMenu(bar, menu_tag::kHelp, QString());
    QAction* helpItem = addTaggedItem(help, menu_tag::kHelpItem, localized(QStringLiteral("FKE-Sm-Kum.title")));
    delegate->setMainMenu(bar);
    delegate->setHelpItemBtn(helpItem);
}

void titleMainMenu(QMenuBar* bar, bool languageSwitch) {
    for (QAction* top : bar->actions()) {
        QMenu* submenu = top->menu();
        if (!submenu) continue;
        switch (tagOf(top)) {
        case menu_tag::kApplication:
            if (QAction* about = itemWithTag(submenu, menu_tag::kAbout))
                about->setText(localized(QStringLiteral("5kV-Vb-QxS.title")));
            if (QAction* quit = itemWithTag(submenu, menu_tag::kQuit))
                quit->setText(localized(QStringLiteral("4sb-4s-VLi.title")));
            break;
        case menu_tag::kLanguage:
            submenu->setTitle(localized(QStringLiteral("LanguageBtnTitle")));
            for (QAction* item : submenu->actions()) {
                const int index = tagOf(item) - menu_tag::kFirstLanguage;
                item->setChecked(index == services::Language::currentLanguageIndex());
            }
            break;
        case menu_tag::kHelp:
            submenu->setTitle(localized(QStringLiteral("FKE-Sm-Kum.title")));
            if (languageSwitch)
                if (QAction* item = itemWithTag(submenu, menu_tag::kHelpItem))
                    item->setText(localized(QStringLiteral("FKE-Sm-Kum.title")));
            break;
        default:
            break;
        }
    }
}

}  // namespace app
