#pragma once

#include "ScriptedReply.h"

#include <QHash>
#include <QJsonObject>
#include <QStringList>
#include <functional>

namespace vorlie::fake {

// What a route's handler gets to work with.
struct RouteCall {
    const RecordedRequest &request;
    QHash<QString, QString> params; // "{key}" segments, percent-decoded
    QJsonObject body;               // empty when the request had none
    QString userId;                 // the bearer's user on authenticated routes
};

// Maps (method, path pattern) to handlers. Patterns are paths below the API
// prefix whose segments are literal or "{name}", e.g. "status/favorites/{key}".
class Router {
public:
    enum class Access { open, bearer };
    using Handler = std::function<ScriptedReply(const RouteCall &)>;

    struct Route {
        QByteArray method;
        QStringList segments;
        Access access;
        Handler handler;
    };

    void add(const QByteArray &method, const QString &pattern, Access access, Handler handler);

    struct Match {
        const Route *route = nullptr; // none: no route for this method and path
        bool pathKnown = false;       // some route has this path, under another method
        QHash<QString, QString> params;
    };
    Match match(const QByteArray &method, const QString &path) const;

private:
    QList<Route> m_routes;
};

} // namespace vorlie::fake
