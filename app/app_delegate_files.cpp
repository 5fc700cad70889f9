// The delegate's save panel and desktop log: a chosen file is remembered through its bookmark,
// and the log falls back to it when the desktop's log file cannot be read.
#include "app/app_delegate.h"

#include "platform/bookmarks.h"
#include "platform/user_defaults.h"
#include "services/folders.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace app {
namespace {

const QString kLogAccessKey = QStringLiteral("logo_accessKey");

bool appendLine(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) return false;
    const QByteArray line = (QStringLiteral("\n ") + text).toUtf8();
    return file.write(line) == line.size();
}

}  // namespace

QFileDialog* AppDelegate::savePanelWithTitleMessage(const QString& message, const QString& prompt, const QString& title,
                                                    const QString& nameFiledValue, bool createDirectories,
                                                    bool /*bSelectHiddenExtension*/, const QString& directory,
                                                    const QStringList& allowedFileTypes) {
    auto* panel = new QFileDialog;
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    // The message stands where the panel asks for the name.
    if (!message.isEmpty()) panel->setLabelText(QFileDialog::FileName, message);
    if (!prompt.isEmpty()) panel->setLabelText(QFileDialog::Accept, prompt);
    if (!allowedFileTypes.isEmpty()) {
        QStringList patterns;
        for (const QString& type : allowedFileTypes) patterns << QStringLiteral("*.") + type;
        panel->setNameFilter(patterns.join(QLatin1Char(' ')));
        panel->setDefaultSuffix(allowedFileTypes.first());
    }
    panel->setOption(QFileDialog::ReadOnly, !createDirectories);
    panel->setWindowTitle(title);
    panel->setDirectory(directory);
    panel->selectFile(nameFiledValue);
    return panel;
}

QString AppDelegate::getSavePanelChooseFiles(QFileDialog* panel) {
    if (!panel || panel->exec() != QDialog::Accepted || panel->selectedFiles().isEmpty()) {
        qDebug() << "Choose Cancle! ";
        return {};
    }
    const QString path = panel->selectedFiles().first();
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) qWarning() << "Cannot make" << path << ":" << file.errorString();
    }
    const QUrl url = QUrl::fromLocalFile(path);
    qDebug().noquote() << "filePath :" << url.toString();
    platform::EMBookmark::defaultShareBookmark().saveOpenFileToBookmarkWithFilePath(path);
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    defaults.setString(kLogAccessKey, platform::EMBookmark::bookmarkKeyForPath(path));
    defaults.synchronize();
    return url.toString();
}

void AppDelegate::writeLogToDesktop(const QString& text) {
    const QString log = services::FileManager::desktopFolderPath() + QStringLiteral("/logo.text");
    if (!QFileInfo::exists(log)) {
        QDir().mkpath(QFileInfo(log).path());
        QFile file(log);
        if (file.open(QIODevice::WriteOnly)) qDebug().noquote() << "Save Path :" << log;
    }
    if (QFileInfo(log).isReadable()) {
        if (!appendLine(log, text)) qWarning() << "Cannot append to" << log;
        return;
    }
    // The desktop's log cannot be read: the file chosen in the save panel takes the line.
    const platform::UserDefaults& defaults = platform::UserDefaults::standard();
    const QString chosen = defaults.stringForKey(defaults.stringForKey(kLogAccessKey));
    platform::EMBookmark& bookmarks = platform::EMBookmark::defaultShareBookmark();
    if (chosen.isEmpty() || !bookmarks.BookmarkStartAccessingSecurityScopedResourceWithFilePath(chosen)) {
        qWarning() << "No log file to write to";
        return;
    }
    if (!appendLine(chosen, text)) qWarning() << "Cannot append to" << chosen;
    bookmarks.BookmarkStopAccessingSecurityScopedResourceWithFilePath(chosen);
}

}  // namespace app
