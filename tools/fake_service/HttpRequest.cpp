#include "HttpRequest.h"

#include <QList>

#include <algorithm>
#include <optional>

namespace vorlie::fake {

namespace {

// RFC 9110 token characters; anything else in a method or header name is garbage.
bool isToken(const QByteArray &text)
{
    static const QByteArray extra = QByteArrayLiteral("!#$%&'*+-.^_`|~");
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || extra.contains(c);
    });
}

bool isVisible(const QByteArray &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](char c) { return c > 32 && c < 127; });
}

ParseOutcome refuse(int status)
{
    ParseOutcome outcome;
    outcome.kind = ParseOutcome::Kind::refused;
    outcome.refusal = status;
    return outcome;
}

// Content-Length is digits only: "+5", "5 5" or "0x10" would let two parsers
// disagree about where the next request starts.
std::optional<qsizetype> contentLength(const QByteArray &value)
{
    if (value.isEmpty() || value.size() > 18 || !std::all_of(value.cbegin(), value.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return value.toLongLong();
}

} // namespace

ParseOutcome takeRequest(QByteArray &buffer)
{
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return buffer.size() > maxHeaderBytes ? refuse(431) : ParseOutcome{};
    if (headerEnd > maxHeaderBytes)
        return refuse(431);

    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().chopped(lines.first().endsWith('\r') ? 1 : 0).split(' ');
    if (requestLine.size() != 3 || !isToken(requestLine[0]) || !requestLine[1].startsWith('/') || !isVisible(requestLine[1])
        || (requestLine[2] != "HTTP/1.1" && requestLine[2] != "HTTP/1.0"))
        return refuse(400);

    ParseOutcome outcome;
    HttpRequest &request = outcome.request;
    request.method = requestLine[0];
    request.target = requestLine[1];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.left(colon)))
            return refuse(400);
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (request.headers.contains(name) && name == "content-length" && request.headers.value(name) != value)
            return refuse(400);
        request.headers.insert(name, value);
    }
    // Chunked uploads are not needed by any client of this service.
    if (request.headers.contains("transfer-encoding"))
        return refuse(411);

    qsizetype length = 0;
    if (request.headers.contains("content-length")) {
        const std::optional<qsizetype> declared = contentLength(request.headers.value("content-length"));
        if (!declared)
            return refuse(400);
        if (*declared > maxBodyBytes)
            return refuse(413);
        length = *declared;
    }
    const qsizetype bodyStart = headerEnd + 4;
    if (buffer.size() - bodyStart < length)
        return ParseOutcome{};
    request.body = buffer.mid(bodyStart, length);
    buffer.remove(0, bodyStart + length);

    const QByteArray connection = request.headers.value("connection").toLower();
    request.keepAlive = requestLine[2] == "HTTP/1.1" ? connection != "close" : connection == "keep-alive";
    outcome.kind = ParseOutcome::Kind::complete;
    return outcome;
}

} // namespace vorlie::fake
