#include "HttpResponse.h"

namespace vorlie::fake {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 307: return "Temporary Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 409: return "Conflict";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 422: return "Unprocessable Content";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

QByteArray encodeResponse(const HttpResponse &response, bool keepAlive)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    bool hasContentType = false;
    for (const auto &[name, value] : response.headers) {
        // Framing is ours: a scripted length or connection header would break it.
        if (name.compare("content-length", Qt::CaseInsensitive) == 0 || name.compare("connection", Qt::CaseInsensitive) == 0)
            continue;
        hasContentType = hasContentType || name.compare("content-type", Qt::CaseInsensitive) == 0;
        out += name + ": " + value + "\r\n";
    }
    if (!hasContentType && !response.body.isEmpty())
        out += "Content-Type: application/json\r\n";
    out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    out += response.body;
    return out;
}

} // namespace vorlie::fake
