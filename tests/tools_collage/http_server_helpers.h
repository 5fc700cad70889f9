#pragma once
// A small HTTP server on 127.0.0.1 for the catalogue tests: fixed bodies by path, 404 for the
// rest, each request counted.
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QTcpServer;

namespace kestrel::test {

class LocalHttpServer : public QObject {
public:
    LocalHttpServer();
    ~LocalHttpServer() override;
    bool listening() const;
    QString base() const;  // "http://127.0.0.1:<port>"
    void serve(const QString& path, const QByteArray& body) { bodies_.insert(path, body); }
    int requests(const QString& path) const { return requests_.value(path); }
    void close();

private:
    QTcpServer* server_;
    QHash<QString, QByteArray> bodies_;
    QHash<QString, int> requests_;
};

}  // namespace kestrel::test
