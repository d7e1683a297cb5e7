// An HTTP server on 127.0.0.1 for tests, run by the test's own event loop: scripted routes with status,
// headers, body, a body cut short, a delay before answering and a connection dropped without an answer.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

class LoopbackServer : public QObject
{
public:
    struct Route
    {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        qsizetype sendOnly =
            -1;                // send only this many body bytes (the length still announces all), then close
        int delayMs = 0;       // answer this much later
        bool drop = false;     // close the connection without answering
        bool noLength = false; // no Content-Length: the body ends with the connection
    };
    struct Request
    {
        QString path;
        QByteArray userAgent;
    };

    LoopbackServer()
    {
        // Requests to this server go straight to it, never through a proxy of the environment.
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::accept);
    }

    quint16 port() const { return m_server.serverPort(); }
    // "127.0.0.1:port", as the update server's name.
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    // A loopback port that nobody listens on.
    static quint16 closedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return port;
    }

    LoopbackServer& route(const QString& path, Route r)
    {
        m_routes.insert(path, std::move(r));
        return *this;
    }
    LoopbackServer& route(const QString& path, const QByteArray& body)
    {
        Route r;
        r.body = body;
        return route(path, r);
    }
    const QList<Request>& requests() const { return m_requests; }
    // Runs the event loop until no connection is open or waiting, so that a late request of a client that
    // already gave up (a retry, say) is counted before the next case, not during it.
    void settle()
    {
        const QDeadlineTimer deadline(5000);
        const auto busy = [this] {
            if (m_server.hasPendingConnections())
                return true;
            for (const QTcpSocket* socket : findChildren<QTcpSocket*>())
                if (socket->state() != QAbstractSocket::UnconnectedState)
                    return true;
            return false;
        };
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        while (busy() && !deadline.hasExpired());
    }
    QStringList paths() const
    {
        QStringList list;
        for (const Request& r : m_requests)
            list.append(r.path);
        return list;
    }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    }

    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        m_buffers.remove(socket);
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        Request request{QString::fromLatin1(requestLine.value(1)), {}};
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("user-agent:"))
                request.userAgent = line.mid(11).trimmed();
        m_requests.append(request);
        Route route;
        if (m_routes.contains(request.path)) {
            route = m_routes.value(request.path);
        } else {
            route.status = 404;
            route.body = "<html><body>404 Not Found</body></html>";
        }
        QPointer<QTcpSocket> target(socket);
        const auto answer = [target, route] {
            if (!target)
                return;
            if (route.drop) {
                target->abort();
                return;
            }
            QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) +
                              (route.status == 200 ? " OK" : " Error") + "\r\n";
            if (!route.noLength)
                head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
            for (const auto& [name, value] : route.headers)
                head += name + ": " + value + "\r\n";
            head += "Connection: close\r\n\r\n";
            target->write(head + (route.sendOnly >= 0 ? route.body.left(route.sendOnly) : route.body));
            target->disconnectFromHost();
        };
        if (route.delayMs > 0)
            QTimer::singleShot(route.delayMs, socket, answer);
        else
            answer();
    }

    QTcpServer m_server;
    QHash<QString, Route> m_routes;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<Request> m_requests;
};
