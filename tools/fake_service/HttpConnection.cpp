#include "HttpConnection.h"

#include "HttpResponse.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace vorlie::fake {

namespace {

HttpResponse responseOf(const ScriptedReply &reply)
{
    return HttpResponse{reply.status, reply.headers, reply.body};
}

QByteArray refusalCode(int status)
{
    switch (status) {
    case 411: return "LENGTH_REQUIRED";
    case 413: return "PAYLOAD_TOO_LARGE";
    case 431: return "HEADERS_TOO_LARGE";
    default: return "BAD_REQUEST";
    }
}

constexpr auto lingerTime = std::chrono::milliseconds(1000);
constexpr auto trickleInterval = std::chrono::milliseconds(100);
// One 1 MiB chunk of an endless body: its size line, its bytes, its end.
// Large, so a client's size limit is reached in a few round trips, well
// inside its silence time-out even on a loaded machine.
const QByteArray endlessChunk = "100000\r\n" + QByteArray(0x100000, '{') + "\r\n";

} // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, Handler handler, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_handler(std::move(handler))
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::readRequests);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
}

void HttpConnection::readRequests()
{
    if (m_draining) {
        m_socket->readAll();
        return;
    }
    m_buffer += m_socket->readAll();
    while (!m_held) {
        ParseOutcome outcome = takeRequest(m_buffer);
        if (outcome.kind == ParseOutcome::Kind::incomplete)
            return;
        if (outcome.kind == ParseOutcome::Kind::refused) {
            refuse(outcome.refusal);
            return;
        }
        const bool keepAlive = outcome.request.keepAlive;
        const ScriptedReply reply = m_handler(outcome.request);
        if (reply.behaviour == ScriptedReply::Behaviour::hang) {
            m_held = true;
            return;
        }
        if (reply.delay.count() > 0) {
            m_held = true;
            // A timer, not a sleep: the thread keeps serving other connections.
            QTimer::singleShot(reply.delay, this, [this, reply, keepAlive] {
                m_held = false;
                answer(reply, keepAlive);
                if (!m_held && !m_buffer.isEmpty())
                    readRequests();
            });
            return;
        }
        answer(reply, keepAlive);
    }
}

void HttpConnection::answer(const ScriptedReply &reply, bool keepAlive)
{
    switch (reply.behaviour) {
    case ScriptedReply::Behaviour::dropConnection:
        close();
        return;
    case ScriptedReply::Behaviour::truncateBody: {
        // The head announces the whole body; only its first half follows.
        const QByteArray full = encodeResponse(responseOf(reply), true);
        m_socket->write(full.left(full.size() - (reply.body.size() - reply.body.size() / 2)));
        close();
        return;
    }
    case ScriptedReply::Behaviour::hang:
        m_held = true;
        return;
    case ScriptedReply::Behaviour::trickleBody: {
        const QByteArray full = encodeResponse(responseOf(reply), false);
        m_held = true;
        const qsizetype head = full.size() - reply.body.size();
        m_socket->write(full.left(head));
        auto *pace = new QTimer(this);
        connect(pace, &QTimer::timeout, this, [this, pace, rest = full.mid(head), sent = qsizetype{0}]() mutable {
            if (sent == rest.size()) {
                pace->stop();
                close();
                return;
            }
            m_socket->write(rest.mid(sent++, 1));
        });
        pace->start(trickleInterval);
        return;
    }
    case ScriptedReply::Behaviour::endlessChunks:
        m_held = true;
        m_socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status)
                        + "\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n");
        // Topped up only as the client reads, so the server's own memory stays flat.
        connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
            if (m_socket->bytesToWrite() < endlessChunk.size())
                m_socket->write(endlessChunk);
        });
        m_socket->write(endlessChunk);
        return;
    case ScriptedReply::Behaviour::respond:
        break;
    }
    m_socket->write(encodeResponse(responseOf(reply), keepAlive));
    if (!keepAlive)
        close();
}

void HttpConnection::refuse(int status)
{
    const QJsonObject error{{QStringLiteral("code"), QString::fromLatin1(refusalCode(status))},
                            {QStringLiteral("message"), QStringLiteral("Malformed or oversized HTTP request.")}};
    const HttpResponse response{status, {}, QJsonDocument(QJsonObject{{QStringLiteral("error"), error}}).toJson(QJsonDocument::Compact)};
    m_socket->write(encodeResponse(response, false));
    m_buffer.clear();
    lingerThenClose();
}

// Closing with unread bytes (the rest of an oversized upload) makes the kernel
// reset the connection, which can destroy the refusal before the client reads
// it. So: send the refusal, close our direction only, read the rest away, and
// close fully when the client does or after a short while.
void HttpConnection::lingerThenClose()
{
    m_held = true;
    m_draining = true;
    const auto shutdownWrites = [this] {
        if (m_socket->bytesToWrite() == 0)
            ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
    };
    connect(m_socket, &QTcpSocket::bytesWritten, this, shutdownWrites);
    m_socket->flush();
    shutdownWrites();
    QTimer::singleShot(lingerTime, this, [this] { m_socket->abort(); });
}

void HttpConnection::close()
{
    m_held = true;
    m_socket->disconnectFromHost(); // flushes what was written before closing
}

} // namespace vorlie::fake
