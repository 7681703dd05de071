#pragma once

#include <QString>

namespace vorlie {

// The one error type of the service client: every failure the pipeline
// recognises becomes one of these eight cases.
class APIError {
public:
    enum class Kind { server, unknown, offline, timeout, cancelled, decoding, unauthorized, rateLimited };

    static APIError server(QString code, QString message, int status);
    static APIError unknown(int status);
    static APIError offline() { return APIError(Kind::offline); }
    static APIError timeout() { return APIError(Kind::timeout); }
    static APIError cancelled() { return APIError(Kind::cancelled); }
    static APIError decoding() { return APIError(Kind::decoding); }
    static APIError unauthorized() { return APIError(Kind::unauthorized); }
    static APIError rateLimited() { return APIError(Kind::rateLimited); }

    Kind kind() const { return m_kind; }
    // Payload of `server`; empty for other cases.
    const QString &code() const { return m_code; }
    const QString &message() const { return m_message; }
    // HTTP status of `server` and `unknown` (-1 without a usable answer); 0 otherwise.
    int status() const { return m_status; }

    // Text for the user in the current interface language; `server` shows the
    // service's own message, `cancelled` shows nothing.
    QString userMessage() const;

    friend bool operator==(const APIError &, const APIError &) = default;

private:
    explicit APIError(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    QString m_code;
    QString m_message;
    int m_status = 0;
};

// For test output and diagnostics; never contains tokens.
QString describe(const APIError &error);

} // namespace vorlie
