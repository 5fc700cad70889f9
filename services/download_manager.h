#pragma once
// One pausable download over HTTP(S). The body goes into a partial file of this manager's own;
// pausing keeps that file and writes this manager's own resume file (address, offset and the
// validators the server gave), and resuming asks the server for the rest with
// "Range: bytes=<offset>-". Only a transfer whose every byte arrived is reported as finished;
// failures (HTTP errors, broken or short transfers, write errors) are reported, never dropped.
//
// The manager works on the thread that made it (an event loop must run there); its delegate
// and blocks are called on that thread. They must not destroy the manager during the call.
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QFile;

namespace services {

class DownloadManager;

class DownloadManagerDelegate {
public:
    virtual ~DownloadManagerDelegate() = default;
    // Fraction of the whole file written so far; negative while the size is unknown.
    virtual void downloadManagerDidWriteData(DownloadManager& manager, float fraction) {}
    // The finished file; it is removed when the call returns, so copy or move it here.
    virtual void downloadManagerDidFinishDownloading(DownloadManager& manager, const QString& filePath) {}
    virtual void downloadManagerDidFail(DownloadManager& manager, const QString& reason) {}
};

class DownloadManager {
public:
    DownloadManager();
    // Stops a running transfer and removes this manager's partial and resume files.
    ~DownloadManager();
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    void setDelegate(DownloadManagerDelegate* delegate) { delegate_ = delegate; }  // not owned
    // A transfer that receives nothing for this long fails (a stalled or silent server).
    void setStallTimeoutMs(int ms) { stallTimeoutMs_ = ms; }
    // A file larger than this fails instead of filling the disk.
    void setMaximumBytes(qint64 bytes) { maximumBytes_ = bytes; }
    void setProgressBlock(std::function<void(float)> block) { progressBlock_ = std::move(block); }
    void setComplatedBlock(std::function<void(const QString&)> block) { complatedBlock_ = std::move(block); }
    void setFailedBlock(std::function<void(const QString&)> block) { failedBlock_ = std::move(block); }

    bool isDownloading() const { return isDownloading_; }
    bool hasDownloadTask() const { return reply_ != nullptr; }
    // Resume data of a paused transfer (empty when none is held in memory).
    const QByteArray& resumData() const { return resumData_; }
    QString resumeFilePath() const;
    QString partialFilePath() const;

    // Starts a fresh transfer of the address unless one is running already.
    void start(const QString& url);
    // Starts a fresh transfer, dropping any partial file and resume data.
    void download(const QString& url);
    // Stops the transfer, keeping what arrived and writing the resume file.
    void pause();
    // Continues from the resume file (or the resume data held); nothing without either.
    void resume();

private:
    void beginTransfer(const QString& url, qint64 offset, const QString& etag, const QString& lastModified);
    bool checkResponse();
    bool drainReply();
    void onReadyRead();
    void reportProgress();
    void onFinished();
    void fail(const QString& reason);
    void dropReply();
    void removeFiles();

    std::unique_ptr<QNetworkAccessManager> network_;
    QNetworkReply* reply_ = nullptr;
    std::unique_ptr<QFile> partial_;
    DownloadManagerDelegate* delegate_ = nullptr;
    std::function<void(float)> progressBlock_;
    std::function<void(const QString&)> complatedBlock_;
    std::function<void(const QString&)> failedBlock_;

    QString id_;            // names this manager's files
    QString url_;
    qint64 offset_ = 0;     // bytes already in the partial file when the current request began
    qint64 expectedTotal_ = -1;
    int stallTimeoutMs_ = 30000;
    qint64 maximumBytes_ = qint64(1) << 30;
    bool responseChecked_ = false;
    bool isDownloading_ = false;
    QByteArray resumData_;
};

}  // namespace services
