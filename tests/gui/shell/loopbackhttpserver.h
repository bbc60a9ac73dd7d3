#ifndef LOOPBACKHTTPSERVER_H
#define LOOPBACKHTTPSERVER_H

// A minimal HTTP/1.1 server on 127.0.0.1 standing in for the update server:
// answers GET requests for the paths it was given, 404 for the rest, one
// request per connection.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

class LoopbackHttpServer
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        bool announceLength = true; // without it the body ends with the connection
        int chunks = 1;             // body sent in this many chunks...
        int chunkDelayMs = 0;       // ...this far apart
    };

    LoopbackHttpServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { accept(); });
    }

    bool isListening() const { return server.isListening(); }
    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()));
    }
    void serve(const QString& path, const Response& response) { responses.insert(path, response); }
    void serve(const QString& path, const QByteArray& body)
    {
        Response response;
        response.body = body;
        serve(path, response);
    }
    // Stops listening: later connections are refused.
    void stop() { server.close(); }

    QStringList requestedPaths;

private:
    void accept()
    {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void read(QTcpSocket* socket)
    {
        QByteArray& request = pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
        pending.remove(socket);
        const QString path = QString::fromLatin1(requestLine.value(1));
        requestedPaths << path;

        Response response;
        if (requestLine.value(0) == "GET" && responses.contains(path)) {
            response = responses.value(path);
        } else {
            response.status = 404;
            response.body = "not here";
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status)
            + (response.status == 200 ? " OK" : " Error") + "\r\n"
            + "Content-Type: application/octet-stream\r\nConnection: close\r\n";
        if (response.announceLength)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        socket->write(head + "\r\n");
        sendChunk(socket, response, 0);
    }

    void sendChunk(QPointer<QTcpSocket> socket, const Response& response, int index)
    {
        if (!socket)
            return;
        const int chunkCount = qMax(1, response.chunks);
        const int size = (response.body.size() + chunkCount - 1) / chunkCount;
        socket->write(response.body.mid(index * size, size));
        if (index + 1 >= chunkCount) {
            socket->disconnectFromHost();
            return;
        }
        socket->flush();
        QTimer::singleShot(response.chunkDelayMs, socket,
                           [this, socket, response, index] { sendChunk(socket, response, index + 1); });
    }

    QTcpServer server;
    QHash<QString, Response> responses;
    QHash<QTcpSocket*, QByteArray> pending;
};

#endif
