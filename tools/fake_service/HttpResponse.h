#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace vorlie::fake {

struct HttpResponse {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

// The bytes of a complete answer. Content-Length is always sent (also for an
// empty body) so keep-alive clients know where the answer ends; a JSON
// Content-Type is added when the caller gave none and there is a body.
QByteArray encodeResponse(const HttpResponse &response, bool keepAlive);

QByteArray reasonPhrase(int status);

} // namespace vorlie::fake
