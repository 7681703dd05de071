#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <chrono>

namespace vorlie::fake {

// One answer of the fake service: a built-in endpoint's or one scripted by a test.
struct ScriptedReply {
    enum class Behaviour {
        respond,
        dropConnection, // close the socket after reading the request, no answer
        truncateBody,   // announce the full Content-Length, send half the body, close
        hang,           // never answer, keep the socket open
        trickleBody,    // announce the full Content-Length, then send one byte every 100 ms
        endlessChunks,  // a chunked body of garbage that never ends while the client reads
    };

    int status = 200;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    std::chrono::milliseconds delay{0};
    Behaviour behaviour = Behaviour::respond;
    // Answer as the service itself would, only `delay` later; status and body are ignored.
    bool serviceAnswer = false;
};

// A request as the service received it.
struct RecordedRequest {
    QByteArray method;
    QString path;      // below "/api/v1/" without the query, still percent-encoded; the full path outside it
    QString rawTarget; // the exact request target, query included
    QMap<QByteArray, QByteArray> headers; // lower-case names
    QByteArray body;
    bool underApi = true; // false for paths outside "/api/v1/", such as avatar pictures
};

} // namespace vorlie::fake
