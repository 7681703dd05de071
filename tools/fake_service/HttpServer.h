#pragma once

#include "HttpConnection.h"

#include <QTcpServer>

namespace vorlie::fake {

// Accepts connections on 127.0.0.1 and hands every parsed request to one
// handler, which runs on the server's thread.
class HttpServer : public QObject {
    Q_OBJECT
public:
    HttpServer(HttpConnection::Handler handler, QObject *parent = nullptr);

    // Port 0 picks a free one; gives the port listened on, or 0 on failure.
    quint16 listen(quint16 port);

private:
    QTcpServer *m_server;
    HttpConnection::Handler m_handler;
};

} // namespace vorlie::fake
