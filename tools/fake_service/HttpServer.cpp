#include "HttpServer.h"

#include <QTcpSocket>

namespace vorlie::fake {

HttpServer::HttpServer(HttpConnection::Handler handler, QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_handler(std::move(handler))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection())
            new HttpConnection(socket, m_handler, this);
    });
}

quint16 HttpServer::listen(quint16 port)
{
    if (!m_server->listen(QHostAddress::LocalHost, port))
        return 0;
    return m_server->serverPort();
}

} // namespace vorlie::fake
