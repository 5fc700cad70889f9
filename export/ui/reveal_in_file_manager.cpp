#include "export/ui/reveal_in_file_manager.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#ifdef KESTREL_HAVE_QTDBUS
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#endif

namespace exportkit {

namespace {

FileManagerHandler& installedHandler() {
    static FileManagerHandler handler;
    return handler;
}

}  // namespace

void setFileManagerHandler(FileManagerHandler handler) { installedHandler() = std::move(handler); }

bool openFolderInFileManager(const QString& folderPath) {
    if (installedHandler()) return installedHandler()(folderPath);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(folderPath).absoluteFilePath()));
}

bool revealInFileManager(const QString& filePath) {
    if (installedHandler()) return installedHandler()(filePath);
    const QFileInfo info(filePath);
#ifdef KESTREL_HAVE_QTDBUS
    if (info.exists() && QDBusConnection::sessionBus().isConnected()) {
        QDBusInterface manager(QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
                               QStringLiteral("org.freedesktop.FileManager1"), QDBusConnection::sessionBus());
        if (manager.isValid()) {
            const QDBusMessage reply = manager.call(QStringLiteral("ShowItems"),
                                                    QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()},
                                                    QString());
            if (reply.type() == QDBusMessage::ReplyMessage) return true;
        }
    }
#endif
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace exportkit
