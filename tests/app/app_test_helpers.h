#pragma once
// What the shell tests share: a started main interface with its open panel answered by the
// test, a catcher for links opened in the desktop, and event pumping until a condition holds.
#include "app/main_interface.h"
#include "widgets/dialogs/open_panel.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace app {
class HomeViewController;
}

namespace kestrel::test {

// Runs the event loop (posted blocks, deferred deletions) until done() holds or the rounds end.
bool pumpUntil(const std::function<bool()>& done, int rounds = 400);
void pumpEvents();

// Closes a modal window as soon as one runs; what was shown is kept for the test.
void closeNextModal(std::function<void(QWidget*)> inspect = {});

// The strings table of one language as built into Resources.
QHash<QString, QString> builtTable(const QString& language);

// Links handed to the desktop for the http, https, mailto and file schemes.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher();
    ~UrlCatcher() override;
    std::vector<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.push_back(url); }
};

struct OpenedTool {
    QPointer<QObject> controller;
    QPointer<QWidget> window;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    app::HomeViewController* home() const;
    QWidget* homeWindow() const;
    // Answers every open panel with these paths (empty = cancel) and records the requests.
    void answerPanelWith(QStringList paths);
    // Presses a tile as the user does and waits for what it opens (if anything).
    void pressTile(int tag);

    app::MainInterface ui;
    std::vector<kestrel::widgets::OpenPanelRequest> requests;
    std::vector<OpenedTool> opened;
    QStringList panelAnswer;
};

}  // namespace kestrel::test
