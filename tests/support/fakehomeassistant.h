#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

// A home server on 127.0.0.1 that speaks just enough HTTP: it keeps every
// request it is sent, and answers states it holds, an error, or nothing at all.
class FakeHomeAssistant
{
public:
    struct Request
    {
        QByteArray method, path, authorization, body;
    };
    enum class Answer { Normally, Status, Silence };

    FakeHomeAssistant()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                s->setParent(&m_server);
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { read(s); });
            }
        });
    }

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }

    QByteArray token = "secret-token";
    QHash<QByteArray, QByteArray> states; // entity → state
    // What a service call turns the entity into ("turn_on" → "on").
    QHash<QByteArray, QByteArray> serviceSets{{"turn_on", "on"}, {"turn_off", "off"}};
    Answer answer = Answer::Normally;
    int status = 500;
    QList<Request> requests;
    std::function<void()> onRequest; // as a request has come in whole

private:
    void read(QTcpSocket *s)
    {
        QByteArray &buffer = m_buffers[s];
        buffer += s->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        Request r;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        r.method = first.value(0);
        r.path = first.value(1);
        qsizetype length = 0;
        for (const QByteArray &line : lines) {
            const qsizetype colon = line.indexOf(':');
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "authorization")
                r.authorization = value;
            else if (name == "content-length")
                length = value.toLongLong();
        }
        if (buffer.size() < end + 4 + length)
            return;
        r.body = buffer.mid(end + 4, length);
        buffer.clear();
        requests << r;
        if (onRequest)
            onRequest();
        respond(s, r);
    }

    void respond(QTcpSocket *s, const Request &r)
    {
        if (answer == Answer::Silence)
            return;
        if (answer == Answer::Status)
            return send(s, status, "{\"message\":\"error\"}");
        if (r.authorization != "Bearer " + token)
            return send(s, 401, "401: Unauthorized");
        if (r.method == "GET" && r.path.startsWith("/api/states/")) {
            const QByteArray entity = r.path.mid(12);
            if (!states.contains(entity))
                return send(s, 404, "{\"message\":\"Entity not found.\"}");
            return send(s, 200, "{\"entity_id\":\"" + entity + "\",\"state\":\"" + states[entity] + "\"}");
        }
        if (r.method == "POST" && r.path.startsWith("/api/services/")) {
            const QList<QByteArray> parts = r.path.split('/');
            const QByteArray service = parts.value(4);
            const qsizetype at = r.body.indexOf("\"entity_id\":\"");
            const QByteArray entity = r.body.mid(at + 13, r.body.indexOf('"', at + 13) - at - 13);
            if (at < 0 || !states.contains(entity))
                return send(s, 400, "{\"message\":\"bad\"}");
            if (serviceSets.contains(service))
                states[entity] = serviceSets[service];
            return send(s, 200, "[]");
        }
        send(s, 404, "not found");
    }

    static void send(QTcpSocket *s, int code, const QByteArray &body)
    {
        s->write("HTTP/1.1 " + QByteArray::number(code) +
                 " X\r\nContent-Type: application/json\r\nContent-Length: " +
                 QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        s->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
