#pragma once

#include "HttpRequest.h"
#include "ScriptedReply.h"

#include <QObject>
#include <functional>

class QTcpSocket;

namespace vorlie::fake {

// One client connection, one request at a time. A delayed or hanging answer
// holds back later pipelined requests on the same connection only; other
// connections have their own objects and are not affected.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<ScriptedReply(const HttpRequest &)>;

    HttpConnection(QTcpSocket *socket, Handler handler, QObject *parent);

private:
    void readRequests();
    void answer(const ScriptedReply &reply, bool keepAlive);
    void refuse(int status);
    void close();
    void lingerThenClose();

    QTcpSocket *m_socket;
    Handler m_handler;
    QByteArray m_buffer;
    bool m_held = false;     // an answer is pending or the connection is closing
    bool m_draining = false; // refused: what still arrives is read and thrown away
};

} // namespace vorlie::fake
