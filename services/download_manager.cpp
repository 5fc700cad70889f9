#include "services/download_manager.h"

#include "platform/atomic_write.h"
#include "services/folders.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>
#include <QUuid>

namespace services {

namespace {

// This user's own folder: in the shared temporary folder another user could make the folder
// first and swap a finished file before it is handed over.
QString downloadsFolder() { return FileManager::sharedManager().privateFolder(QStringLiteral("Downloads")); }

// "bytes <first>-<last>/<total>" -> first and total (total -1 when "*").
bool parseContentRange(const QByteArray& header, qint64* first, qint64* total) {
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*bytes\s+(\d+)-(\d+)/(\d+|\*)\s*$)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(header));
    if (!match.hasMatch()) return false;
    *first = match.captured(1).toLongLong();
    *total = match.captured(3) == "*" ? -1 : match.captured(3).toLongLong();
    return true;
}

}  // namespace

DownloadManager::DownloadManager()
    : network_(std::make_unique<QNetworkAccessManager>()),
      id_(QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

DownloadManager::~DownloadManager() {
    dropReply();
    removeFiles();
}

QString DownloadManager::resumeFilePath() const { return downloadsFolder() + "/" + id_ + ".resume"; }
QString DownloadManager::partialFilePath() const { return downloadsFolder() + "/" + id_ + ".part"; }

void DownloadManager::start(const QString& url) {
    if (!reply_) download(url);
    isDownloading_ = reply_ != nullptr;
}

void DownloadManager::download(const QString& url) {
    dropReply();
    removeFiles();
    resumData_.clear();
    beginTransfer(url, 0, {}, {});
}

void DownloadManager::beginTransfer(const QString& url, qint64 offset, const QString& etag,
                                    const QString& lastModified) {
    const QUrl address(url);
    if (!address.isValid() || (address.scheme() != "http" && address.scheme() != "https")) {
        fail(QStringLiteral("Not a download address: %1").arg(url));
        return;
    }
    if (downloadsFolder().isEmpty()) {
        fail(QStringLiteral("Cannot make the private download folder in %1")
                 .arg(FileManager::sharedManager().customCachesMainPath()));
        return;
    }
    partial_ = std::make_unique<QFile>(partialFilePath());
    const QIODevice::OpenMode mode = offset > 0 ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!partial_->open(mode)) {
        fail(QStringLiteral("Cannot write %1: %2").arg(partialFilePath(), partial_->errorString()));
        return;
    }

    QNetworkRequest request(address);
    request.setTransferTimeout(stallTimeoutMs_);
    // Byte ranges must count the bytes as stored, so no transfer encoding is accepted.
    request.setRawHeader("Accept-Encoding", "identity");
    if (offset > 0) {
        request.setRawHeader("Range", "bytes=" + QByteArray::number(offset) + "-");
        // The rest is only sent when the file did not change; otherwise the whole file comes.
        if (!etag.isEmpty()) request.setRawHeader("If-Range", etag.toUtf8());
        else if (!lastModified.isEmpty()) request.setRawHeader("If-Range", lastModified.toUtf8());
    }
    url_ = url;
    offset_ = offset;
    expectedTotal_ = -1;
    responseChecked_ = false;
    reply_ = network_->get(request);
    QNetworkReply* reply = reply_;
    QObject::connect(reply, &QNetworkReply::readyRead, network_.get(), [this, reply] {
        if (reply == reply_) onReadyRead();
    });
    QObject::connect(reply, &QNetworkReply::finished, network_.get(), [this, reply] {
        if (reply == reply_) onFinished();
    });
    isDownloading_ = true;
}

// Validates the status line once the headers are in. False (after reporting) when the
// response cannot continue the partial file.
bool DownloadManager::checkResponse() {
    if (responseChecked_) return true;
    const QVariant statusValue = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!statusValue.isValid()) return true;  // headers not in yet
    const int status = statusValue.toInt();
    // Only a reply that carries the file (or its rest) is one: "No Content", "Not Modified",
    // redirections left unfollowed and errors all leave nothing to hand over.
    if (status != 200 && status != 206) {
        fail(QStringLiteral("HTTP %1 %2 for %3")
                 .arg(status)
                 .arg(reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(), url_));
        return false;
    }
    const qint64 length = reply_->header(QNetworkRequest::ContentLengthHeader).isValid()
                              ? reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong()
                              : -1;
    if (status == 206) {
        qint64 first = 0, total = -1;
        if (!parseContentRange(reply_->rawHeader("Content-Range"), &first, &total) || first != offset_) {
            fail(QStringLiteral("The server sent the wrong part of %1").arg(url_));
            return false;
        }
        expectedTotal_ = total >= 0 ? total : (length >= 0 ? offset_ + length : -1);
    } else {
        if (offset_ > 0) {
            // The whole file came instead of the rest: start the partial file again.
            partial_->resize(0);
            partial_->seek(0);
            offset_ = 0;
        }
        expectedTotal_ = length;
    }
    if (expectedTotal_ > maximumBytes_) {
        fail(QStringLiteral("%1 is larger than %2 bytes").arg(url_).arg(maximumBytes_));
        return false;
    }
    responseChecked_ = true;
    return true;
}

// Moves whatever has arrived into the partial file. False (after reporting) on failure.
bool DownloadManager::drainReply() {
    if (!checkResponse()) return false;
    if (!responseChecked_) return true;
    const QByteArray chunk = reply_->readAll();
    if (partial_->pos() + chunk.size() > maximumBytes_) {
        fail(QStringLiteral("%1 is larger than %2 bytes").arg(url_).arg(maximumBytes_));
        return false;
    }
    if (!chunk.isEmpty() && partial_->write(chunk) != chunk.size()) {
        fail(QStringLiteral("Cannot write %1: %2").arg(partialFilePath(), partial_->errorString()));
        return false;
    }
    return true;
}

void DownloadManager::onReadyRead() {
    const qint64 before = partial_->pos();
    if (!drainReply() || partial_->pos() == before) return;
    // Counted here rather than from the network's progress signal, which Qt holds back for a
    // while, so a transfer that stalls still shows what arrived.
    reportProgress();
}

void DownloadManager::reportProgress() {
    const qint64 written = partial_->pos();
    const float fraction = expectedTotal_ > 0 ? float(double(written) / double(expectedTotal_)) : -1.0f;
    if (progressBlock_) progressBlock_(fraction);
    if (delegate_) delegate_->downloadManagerDidWriteData(*this, fraction);
}

void DownloadManager::onFinished() {
    if (!drainReply()) return;
    if (reply_->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("Download of %1 failed: %2").arg(url_, reply_->errorString()));
        return;
    }
    if (!partial_->flush()) {
        fail(QStringLiteral("Cannot write %1: %2").arg(partialFilePath(), partial_->errorString()));
        return;
    }
    const qint64 written = partial_->size();
    if (written == 0) {
        fail(QStringLiteral("The server sent nothing for %1").arg(url_));
        return;
    }
    if (expectedTotal_ >= 0 && written != expectedTotal_) {
        fail(QStringLiteral("Download of %1 ended after %2 of %3 bytes").arg(url_).arg(written).arg(expectedTotal_));
        return;
    }
    partial_->close();

    // Hand over a file with its own name, so no partial file is ever taken for a finished one.
    const QString finished = downloadsFolder() + "/" + id_ + ".download";
    QFile::remove(finished);
    if (!QFile::rename(partialFilePath(), finished)) {
        fail(QStringLiteral("Cannot move the finished download of %1").arg(url_));
        return;
    }
    dropReply();
    QFile::remove(resumeFilePath());
    resumData_.clear();
    isDownloading_ = false;

    const auto completion = complatedBlock_;
    DownloadManagerDelegate* delegate = delegate_;
    if (completion) completion(finished);
    if (delegate) delegate->downloadManagerDidFinishDownloading(*this, finished);
    QFile::remove(finished);
}

void DownloadManager::pause() {
    isDownloading_ = false;
    if (!reply_) return;
    if (!drainReply()) return;
    partial_->flush();

    QJsonObject record;
    record["url"] = url_;
    record["offset"] = partial_->size();
    record["etag"] = QString::fromLatin1(reply_->rawHeader("ETag"));
    record["lastModified"] = QString::fromLatin1(reply_->rawHeader("Last-Modified"));
    resumData_ = QJsonDocument(record).toJson(QJsonDocument::Compact);
    dropReply();

    if (!platform::writeFileAtomically(resumeFilePath(), resumData_))
        qWarning() << "Cannot write the resume file" << resumeFilePath();  // the data in memory still serves
}

void DownloadManager::resume() {
    if (reply_) return;  // already transferring
    QFile file(resumeFilePath());
    if (file.open(QIODevice::ReadOnly)) resumData_ = file.readAll();
    if (resumData_.isEmpty()) return;

    const QJsonObject record = QJsonDocument::fromJson(resumData_).object();
    resumData_.clear();
    const QString url = record["url"].toString();
    const double offsetValue = record["offset"].toDouble(-1);
    // The record is a file on disk: whatever it holds goes into a request only once checked.
    static const QRegularExpression controlCharacters(QStringLiteral("[\\x00-\\x1F\\x7F]"));
    const bool validatorsClean = !record["etag"].toString().contains(controlCharacters) &&
                                 !record["lastModified"].toString().contains(controlCharacters);
    if (url.isEmpty() || !(offsetValue >= 0) || offsetValue > double(maximumBytes_) || !validatorsClean) {
        fail(QStringLiteral("The resume data of this download is unreadable"));
        return;
    }
    // What is really on disk decides where to continue.
    const qint64 recorded = qint64(offsetValue);
    const qint64 onDisk = QFileInfo(partialFilePath()).size();
    const qint64 offset = QFileInfo::exists(partialFilePath()) && onDisk == recorded ? recorded : 0;
    beginTransfer(url, offset, record["etag"].toString(), record["lastModified"].toString());
}

void DownloadManager::fail(const QString& reason) {
    qWarning().noquote() << reason;
    dropReply();
    removeFiles();
    resumData_.clear();
    isDownloading_ = false;
    const auto failed = failedBlock_;
    DownloadManagerDelegate* delegate = delegate_;
    if (failed) failed(reason);
    if (delegate) delegate->downloadManagerDidFail(*this, reason);
}

void DownloadManager::dropReply() {
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;  // its late signals are ignored from here on
        reply->disconnect(network_.get());
        // A reply that already failed is ending by itself; aborting it again upsets Qt.
        if (!reply->isFinished() && reply->error() == QNetworkReply::NoError) reply->abort();
        reply->deleteLater();
    }
    if (partial_) partial_->close();
}

void DownloadManager::removeFiles() {
    partial_.reset();
    QFile::remove(partialFilePath());
    QFile::remove(resumeFilePath());
}

}  // namespace services
