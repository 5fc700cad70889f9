#include <gtest/gtest.h>

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <memory>

#include "services/download_manager.h"
#include "tests/services/test_http_server.h"

using services::DownloadManager;
using services::DownloadManagerDelegate;
using kestrel::test::knownBody;
using kestrel::test::TestHttpServer;

namespace {

struct Recorder : DownloadManagerDelegate {
    void downloadManagerDidWriteData(DownloadManager&, float fraction) override { lastFraction = fraction; }
    void downloadManagerDidFinishDownloading(DownloadManager&, const QString& filePath) override {
        QFile file(filePath);
        if (file.open(QIODevice::ReadOnly)) received = file.readAll();
        finishedPath = filePath;
        ++finished;
    }
    void downloadManagerDidFail(DownloadManager&, const QString& why) override {
        reason = why;
        ++failed;
    }
    bool done() const { return finished + failed > 0; }

    float lastFraction = 0;
    QByteArray received;
    QString finishedPath;
    int finished = 0;
    int failed = 0;
    QString reason;
};

constexpr int kWaitMs = 20000;  // a safety net only: every wait ends on an event

}  // namespace

TEST(Downloads, CompleteTransferHandsOverEveryByteThenRemovesTheFile) {
    TestHttpServer server;
    server.bodies["/filter/a.png"] = knownBody(300000, 1);
    DownloadManager manager;
    Recorder recorder;
    manager.setDelegate(&recorder);
    QList<float> blockFractions;
    QString blockPath;
    manager.setProgressBlock([&](float f) { blockFractions.append(f); });
    manager.setComplatedBlock([&](const QString& path) { blockPath = path; EXPECT_TRUE(QFileInfo::exists(path)); });

    manager.start(server.url("/filter/a.png"));
    EXPECT_TRUE(manager.isDownloading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.done(); }, kWaitMs));
    EXPECT_EQ(recorder.failed, 0) << recorder.reason.toStdString();
    EXPECT_EQ(recorder.received, server.bodies["/filter/a.png"]);
    EXPECT_EQ(blockPath, recorder.finishedPath);
    ASSERT_FALSE(blockFractions.isEmpty());
    EXPECT_FLOAT_EQ(blockFractions.last(), 1.0f);
    EXPECT_FALSE(manager.isDownloading());
    EXPECT_FALSE(manager.hasDownloadTask());
    EXPECT_FALSE(QFileInfo::exists(recorder.finishedPath));
    EXPECT_FALSE(QFileInfo::exists(manager.partialFilePath()));
    EXPECT_EQ(server.ranges, QList<QByteArray>{QByteArray()});
}

TEST(Downloads, PauseAndResumeContinuesWithARangeAndGivesIdenticalBytes) {
    TestHttpServer server;
    server.bodies["/big.bin"] = knownBody(200000, 2);
    server.firstRequest = TestHttpServer::FirstRequest::StallAfterCut;
    server.cut = 70001;
    DownloadManager manager;
    Recorder recorder;
    manager.setDelegate(&recorder);

    manager.start(server.url("/big.bin"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.lastFraction >= 70001.0f / 200000.0f; }, kWaitMs)) << recorder.lastFraction << " req " << server.requests;
    manager.pause();
    EXPECT_FALSE(manager.isDownloading());
    EXPECT_FALSE(manager.hasDownloadTask());
    EXPECT_TRUE(QFileInfo::exists(manager.resumeFilePath()));
    EXPECT_EQ(QFileInfo(manager.partialFilePath()).size(), 70001);
    EXPECT_EQ(recorder.finished + recorder.failed, 0);

    manager.resume();
    EXPECT_TRUE(manager.isDownloading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.done(); }, kWaitMs));
    EXPECT_EQ(recorder.failed, 0) << recorder.reason.toStdString();
    EXPECT_EQ(recorder.received, server.bodies["/big.bin"]);
    EXPECT_FLOAT_EQ(recorder.lastFraction, 1.0f);  // counted over the whole file, not the rest
    ASSERT_EQ(server.ranges.size(), 2);
    EXPECT_EQ(server.ranges[1], "bytes=70001-");
    EXPECT_FALSE(QFileInfo::exists(manager.resumeFilePath()));
}

TEST(Downloads, AServerIgnoringTheRangeStillGivesTheRightFile) {
    TestHttpServer server;
    server.bodies["/big.bin"] = knownBody(150000, 3);
    server.firstRequest = TestHttpServer::FirstRequest::StallAfterCut;
    server.cut = 40000;
    server.ignoreRanges = true;
    DownloadManager manager;
    Recorder recorder;
    manager.setDelegate(&recorder);
    manager.start(server.url("/big.bin"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.lastFraction >= 40000.0f / 150000.0f; }, kWaitMs));
    manager.pause();
    manager.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.done(); }, kWaitMs));
    EXPECT_EQ(recorder.failed, 0) << recorder.reason.toStdString();
    EXPECT_EQ(recorder.received, server.bodies["/big.bin"]);
}

TEST(Downloads, FailuresAreReportedAndLeaveNoFiles) {
    TestHttpServer server;
    server.bodies["/short.bin"] = knownBody(100000, 4);
    struct Case { QString path; TestHttpServer::FirstRequest first; };
    for (const Case& c : {Case{"/missing.png", TestHttpServer::FirstRequest::Whole},
                          Case{"/short.bin", TestHttpServer::FirstRequest::CloseAfterCut}}) {
        server.requests = 0;
        server.firstRequest = c.first;
        server.cut = 30000;
        DownloadManager manager;
        Recorder recorder;
        manager.setDelegate(&recorder);
        QString blockReason;
        manager.setFailedBlock([&](const QString& why) { blockReason = why; });
        manager.start(server.url(c.path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.done(); }, kWaitMs)) << c.path.toStdString();
        EXPECT_EQ(recorder.finished, 0) << c.path.toStdString();
        EXPECT_EQ(recorder.failed, 1) << c.path.toStdString();
        EXPECT_EQ(blockReason, recorder.reason);
        EXPECT_FALSE(manager.isDownloading());
        EXPECT_FALSE(QFileInfo::exists(manager.partialFilePath()));
        EXPECT_FALSE(QFileInfo::exists(manager.resumeFilePath()));
    }

    DownloadManager bad;
    Recorder recorder;
    bad.setDelegate(&recorder);
    bad.start("not an address");
    EXPECT_EQ(recorder.failed, 1);
    EXPECT_FALSE(bad.isDownloading());
}

TEST(Downloads, TwoPausedDownloadsKeepSeparateResumeFiles) {
    TestHttpServer server;
    server.bodies["/one.bin"] = knownBody(120000, 5);
    server.bodies["/two.bin"] = knownBody(90000, 6);
    server.firstRequest = TestHttpServer::FirstRequest::StallAfterCut;  // only the very first request stalls
    server.cut = 30000;
    DownloadManager one, two;
    Recorder first, second;
    one.setDelegate(&first);
    two.setDelegate(&second);

    one.start(server.url("/one.bin"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.lastFraction >= 30000.0f / 120000.0f; }, kWaitMs));
    one.pause();
    // The second transfer completes; pause it right after it started instead, before any bytes.
    two.start(server.url("/two.bin"));
    two.pause();
    EXPECT_NE(one.resumeFilePath(), two.resumeFilePath());
    EXPECT_TRUE(QFileInfo::exists(one.resumeFilePath()));
    EXPECT_TRUE(QFileInfo::exists(two.resumeFilePath()));

    two.resume();
    one.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.done() && second.done(); }, kWaitMs));
    EXPECT_EQ(first.received, server.bodies["/one.bin"]);
    EXPECT_EQ(second.received, server.bodies["/two.bin"]);

    // Resuming with nothing to resume starts nothing.
    DownloadManager idle;
    idle.resume();
    EXPECT_FALSE(idle.isDownloading());
    EXPECT_FALSE(idle.hasDownloadTask());
}

TEST(Downloads, OnlyARepliedFileIsAFinishedDownload) {
    TestHttpServer server;
    server.rawReplies["/no-content"] = "HTTP/1.1 204 No Content\r\n\r\n";
    server.rawReplies["/not-modified"] = "HTTP/1.1 304 Not Modified\r\n\r\n";
    server.rawReplies["/choices"] = "HTTP/1.1 300 Multiple Choices\r\nContent-Length: 4\r\n\r\nlist";
    server.rawReplies["/empty"] = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
    server.silent << "/silent";
    server.bodies["/big"] = knownBody(50000, 3);
    struct Case { const char* path; qint64 maximumBytes; };
    for (const Case& c : {Case{"/no-content", 1 << 20}, Case{"/not-modified", 1 << 20}, Case{"/choices", 1 << 20},
                          Case{"/empty", 1 << 20}, Case{"/silent", 1 << 20}, Case{"/big", 10000}}) {
        SCOPED_TRACE(c.path);
        DownloadManager manager;
        Recorder recorder;
        manager.setDelegate(&recorder);
        manager.setStallTimeoutMs(300);
        manager.setMaximumBytes(c.maximumBytes);
        manager.start(server.url(c.path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.done(); }, kWaitMs));
        EXPECT_EQ(recorder.finished, 0);
        EXPECT_EQ(recorder.failed, 1);
        EXPECT_FALSE(QFileInfo::exists(manager.partialFilePath()));
    }
}

TEST(Downloads, AResumeRecordThatDoesNotHoldUpIsRefusedBeforeAnyRequest) {
    TestHttpServer server;
    server.bodies["/a.png"] = knownBody(1000, 4);
    const QByteArray url = server.url("/a.png").toUtf8();
    for (const QByteArray& record :
         {QByteArray("not json"), "{\"url\":\"" + url + "\",\"offset\":-5}",
          "{\"url\":\"" + url + "\",\"offset\":10,\"etag\":\"v1\\r\\nX-Injected: 1\"}",
          QByteArray("{\"url\":\"file:///etc/passwd\",\"offset\":0}")}) {
        SCOPED_TRACE(record.toStdString());
        DownloadManager manager;
        Recorder recorder;
        manager.setDelegate(&recorder);
        QDir().mkpath(QFileInfo(manager.resumeFilePath()).path());
        QFile file(manager.resumeFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(record);
        file.close();
        manager.resume();
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.done(); }, kWaitMs));
        EXPECT_EQ(recorder.failed, 1);
    }
    EXPECT_EQ(server.requests, 0);
}
