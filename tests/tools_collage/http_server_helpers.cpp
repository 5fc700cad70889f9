#include "tests/tools_collage/http_server_helpers.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace kestrel::test {

LocalHttpServer::LocalHttpServer() : server_(new QTcpServer(this)) {
    server_->listen(QHostAddress::LocalHost, 0);
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                buffer->append(socket->readAll());
                if (!buffer->contains("\r\n\r\n")) return;
                const QList<QByteArray> request = buffer->left(buffer->indexOf("\r\n")).split(' ');
                const QString path = request.size() > 1 ? QString::fromUtf8(request[1]) : QString();
                requests_[path] += 1;
                QByteArray reply;
                if (bodies_.contains(path)) {
                    const QByteArray& body = bodies_[path];
                    reply = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                            "\r\nConnection: close\r\n\r\n" + body;
                } else {
                    reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                }
                socket->write(reply);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

LocalHttpServer::~LocalHttpServer() { close(); }

bool LocalHttpServer::listening() const { return server_->isListening(); }

QString LocalHttpServer::base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_->serverPort()); }

void LocalHttpServer::close() { server_->close(); }

}  // namespace kestrel::test
