#pragma once
// Shared by the download tests: a local HTTP server and reproducible bodies to serve.
#include <QMap>
#include <QNetworkProxy>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace kestrel::test {

// A tiny HTTP/1.1 server on 127.0.0.1: serves known bodies by path, honours "Range: bytes=N-",
// and can stall or hang up part-way through the first request, answer 404, or ignore ranges.
class TestHttpServer {
public:
    enum class FirstRequest { Whole, StallAfterCut, CloseAfterCut };

    TestHttpServer() {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                sockets_.append(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { onRead(socket); });
            }
        });
    }

    QString url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path); }

    QMap<QString, QByteArray> bodies;
    QMap<QString, QByteArray> rawReplies;  // path -> the whole reply, sent as it is
    QStringList silent;                    // paths answered with nothing at all
    FirstRequest firstRequest = FirstRequest::Whole;
    qint64 cut = 0;
    bool ignoreRanges = false;
    QList<QByteArray> ranges;  // the Range header of every request ("" when none)
    int requests = 0;

private:
    void onRead(QTcpSocket* socket) {
        QByteArray& pending = buffers_[socket];
        pending += socket->readAll();
        const int end = pending.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QList<QByteArray> lines = pending.left(end).split('\n');
        pending.remove(0, end + 4);
        const QByteArray path = lines.value(0).split(' ').value(1);
        QByteArray range;
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("range:")) range = line.mid(6).trimmed();
        ranges.append(range);
        ++requests;
        respond(socket, QString::fromLatin1(path), range);
    }

    void respond(QTcpSocket* socket, const QString& path, const QByteArray& range) {
        if (silent.contains(path)) return;
        if (rawReplies.contains(path)) {
            socket->write(rawReplies[path]);
            socket->disconnectFromHost();
            return;
        }
        if (!bodies.contains(path)) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found");
            socket->disconnectFromHost();
            return;
        }
        const QByteArray& body = bodies[path];
        qint64 from = 0;
        if (range.startsWith("bytes=") && !ignoreRanges) from = range.mid(6, range.indexOf('-') - 6).toLongLong();
        QByteArray head;
        if (from > 0) {
            head = "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " + QByteArray::number(from) + "-" +
                   QByteArray::number(body.size() - 1) + "/" + QByteArray::number(body.size()) + "\r\n";
        } else {
            head = "HTTP/1.1 200 OK\r\n";
        }
        head += "ETag: \"v1\"\r\nContent-Length: " + QByteArray::number(body.size() - from) + "\r\n\r\n";
        const QByteArray rest = body.mid(from);
        if (requests == 1 && firstRequest != FirstRequest::Whole) {
            socket->write(head + rest.left(cut));
            socket->flush();
            if (firstRequest == FirstRequest::CloseAfterCut) socket->disconnectFromHost();
            return;  // stalled: the connection stays open with the rest unsent
        }
        socket->write(head + rest);
    }

    QTcpServer server_;
    QList<QPointer<QTcpSocket>> sockets_;
    QMap<QTcpSocket*, QByteArray> buffers_;
};

inline QByteArray knownBody(int size, int seed) {
    QByteArray body(size, '\0');
    uint32_t x = 2463534242u + uint32_t(seed);
    for (char& c : body) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    return body;
}

}  // namespace kestrel::test
