#pragma once

#include <QByteArray>
#include <QMap>

namespace vorlie::fake {

// One parsed HTTP/1.x request with a Content-Length body (or none).
struct HttpRequest {
    QByteArray method;
    QByteArray target; // as sent: path and query, still percent-encoded
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
    bool keepAlive = true;
};

struct ParseOutcome {
    enum class Kind {
        incomplete, // wait for more bytes
        complete,   // `request` is filled and its bytes were taken from the buffer
        refused,    // answer `refusal` and close: the stream cannot be trusted any more
    };
    Kind kind = Kind::incomplete;
    HttpRequest request;
    int refusal = 0;
};

constexpr qsizetype maxHeaderBytes = 64 * 1024;
constexpr qsizetype maxBodyBytes = 1024 * 1024;

// Takes the first complete request off the front of `buffer`.
ParseOutcome takeRequest(QByteArray &buffer);

} // namespace vorlie::fake
