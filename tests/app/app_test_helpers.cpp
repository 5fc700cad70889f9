#include "tests/app/app_test_helpers.h"

#include "app/app_delegate.h"
#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "services/strings_file.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QTimer>

namespace kestrel::test {

void pumpEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool pumpUntil(const std::function<bool()>& done, int rounds) {
    for (int i = 0; i < rounds && !done(); ++i) pumpEvents();
    return done();
}

void closeNextModal(std::function<void(QWidget*)> inspect) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (inspect) inspect(modal);
        modal->close();
        timer->deleteLater();
        timer->stop();
    });
    timer->start(1);
}

QHash<QString, QString> builtTable(const QString& language) {
    return services::readStringsFile(services::Language::resourcesPath() + "/" + language + ".lproj/Main.strings").toHash();
}

UrlCatcher::UrlCatcher() {
    for (const char* scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlCatcher::~UrlCatcher() {
    for (const char* scheme : {"http", "https", "mailto", "file"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void ShellTest::SetUp() {
    platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), 0);
    services::Language::setLanguage();
    kestrel::widgets::setOpenPanelRunner([this](const kestrel::widgets::OpenPanelRequest& request) {
        requests.push_back(request);
        return panelAnswer;
    });
    ui = app::loadMainInterface();
    QObject::connect(home(), &app::HomeViewController::toolOpened, home(),
                     [this](QObject* controller, QWidget* window) { opened.push_back({controller, window}); });
}

void ShellTest::TearDown() {
    for (const OpenedTool& tool : opened)
        if (tool.window) tool.window->close();
    pumpUntil([this] {
        for (const OpenedTool& tool : opened)
            if (tool.window) return false;
        return true;
    });
    ui = app::MainInterface();
    kestrel::widgets::setOpenPanelRunner({});
    platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), 0);
    services::Language::setLanguage();
}

app::HomeViewController* ShellTest::home() const { return ui.homeWindow->contentViewController(); }
QWidget* ShellTest::homeWindow() const { return ui.homeWindow.get(); }

void ShellTest::answerPanelWith(QStringList paths) { panelAnswer = std::move(paths); }

void ShellTest::pressTile(int tag) {
    kestrel::widgets::ZorButton* tile = home()->tileWithTag(tag);
    ASSERT_NE(tile, nullptr) << tag;
    const std::size_t before = opened.size();
    const std::size_t asked = requests.size();
    QTest::mouseClick(tile, Qt::LeftButton);
    // The tile defers its work; some tools defer once more.
    pumpUntil([&] { return opened.size() > before || requests.size() > asked; });
    pumpUntil([&] { return opened.size() > before; }, 20);
}

}  // namespace kestrel::test
