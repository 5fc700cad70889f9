// The delegate's save panel and desktop log: a file named in the panel as a person does it is
// made and remembered, and the log appends its lines to "logo.text" on the desktop, or to the
// remembered file when the desktop's cannot be read.
#include "app/app_delegate.h"
#include "platform/bookmarks.h"
#include "platform/user_defaults.h"
#include "services/folders.h"

#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace kt = kestrel::test;

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

// When the next panel is on screen: type the name into its name field and press Return, or,
// with an empty name, press its Cancel button.
void answerNextPanel(const QString& name) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, name] {
        auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!panel || !panel->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        if (name.isEmpty()) {
            kt::click(panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
            return;
        }
        kt::typeInto(panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), name, kt::Commit::Return);
    });
    poll->start();
}

}  // namespace

TEST(SavePanelAndLog, AChosenFileIsMadeRememberedAndTakesTheLogWhenTheDesktopCannot) {
    kt::TempDir dir;
    const QString folder = QString::fromStdString(dir.file("logs"));
    QDir().mkpath(folder);
    const QString desktop = QString::fromStdString(dir.file("Desktop"));
    ScopedEnv desktopDir("XDG_DESKTOP_DIR", desktop);
    platform::UserDefaults::standard().removeObjectForKey("logo_accessKey");

    // The panel carries what it was given; it is returned, not run.
    std::unique_ptr<QFileDialog> panel(app::AppDelegate::savePanelWithTitleMessage(
        "Save the log as:", "Keep", "Log file", "run", true, false, folder, {"text"}));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(panel->windowTitle(), "Log file");
    EXPECT_EQ(panel->labelText(QFileDialog::Accept), "Keep");
    EXPECT_EQ(panel->labelText(QFileDialog::FileName), "Save the log as:");
    EXPECT_EQ(panel->directory().absolutePath(), folder);

    // Cancelled: nothing is made or remembered.
    answerNextPanel(QString());
    EXPECT_EQ(app::AppDelegate::getSavePanelChooseFiles(panel.get()), QString());
    EXPECT_FALSE(platform::UserDefaults::standard().hasKey("logo_accessKey"));

    // A typed name: the file is made empty, remembered, and answered as a file URL.
    answerNextPanel("chosen");
    const QString chosen = folder + "/chosen.text";
    const QString answer = app::AppDelegate::getSavePanelChooseFiles(panel.get());
    EXPECT_EQ(answer, QUrl::fromLocalFile(chosen).toString());
    ASSERT_TRUE(QFileInfo(chosen).isFile());
    EXPECT_EQ(QFileInfo(chosen).size(), 0);
    const QString key = platform::UserDefaults::standard().stringForKey("logo_accessKey");
    EXPECT_EQ(key, platform::EMBookmark::bookmarkKeyForPath(chosen));
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey(key), chosen);

    // The log is made on the desktop and takes every line after "\n ".
    app::AppDelegate::writeLogToDesktop("first");
    app::AppDelegate::writeLogToDesktop("zweite Zeile \u00e4");
    EXPECT_EQ(contentOf(desktop + "/logo.text"), QString("\n first\n zweite Zeile \u00e4").toUtf8());

    platform::UserDefaults::standard().removeObjectForKey("logo_accessKey");
}

TEST(SavePanelAndLog, AnUnreadableDesktopLogSendsTheLineToTheChosenFile) {
    kt::TempDir dir;
    const QString desktop = QString::fromStdString(dir.file("Desktop"));
    ScopedEnv desktopDir("XDG_DESKTOP_DIR", desktop);
    QDir().mkpath(desktop);
    const QString chosen = QString::fromStdString(dir.file("chosen.text"));
    std::unique_ptr<QFileDialog> panel(app::AppDelegate::savePanelWithTitleMessage(
        QString(), QString(), QString(), "chosen", true, false, QString::fromStdString(dir.path()), {"text"}));
    answerNextPanel("chosen");
    ASSERT_FALSE(app::AppDelegate::getSavePanelChooseFiles(panel.get()).isEmpty());
    app::AppDelegate::writeLogToDesktop("first");
    ASSERT_TRUE(QFile::setPermissions(desktop + "/logo.text", QFileDevice::WriteOwner));
    const bool unreadable = !QFileInfo(desktop + "/logo.text").isReadable();
    if (unreadable) app::AppDelegate::writeLogToDesktop("second");
    QFile::setPermissions(desktop + "/logo.text", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    platform::UserDefaults::standard().removeObjectForKey("logo_accessKey");
    if (!unreadable) GTEST_SKIP() << "these rights read every file";
    EXPECT_EQ(contentOf(chosen), QByteArray("\n second"));
    EXPECT_EQ(contentOf(desktop + "/logo.text"), QByteArray("\n first"));
}
