#include "Router.h"

#include <QUrl>

namespace vorlie::fake {

namespace {

bool matches(const QStringList &pattern, const QStringList &segments, QHash<QString, QString> &params)
{
    if (pattern.size() != segments.size())
        return false;
    QHash<QString, QString> found;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QString &want = pattern[i];
        if (want.startsWith(u'{') && want.endsWith(u'}')) {
            if (segments[i].isEmpty())
                return false;
            found.insert(want.mid(1, want.size() - 2), QUrl::fromPercentEncoding(segments[i].toUtf8()));
        } else if (want != segments[i]) {
            return false;
        }
    }
    params = std::move(found);
    return true;
}

} // namespace

void Router::add(const QByteArray &method, const QString &pattern, Access access, Handler handler)
{
    m_routes.append(Route{method, pattern.split(u'/'), access, std::move(handler)});
}

Router::Match Router::match(const QByteArray &method, const QString &path) const
{
    const QStringList segments = path.split(u'/');
    Match result;
    for (const Route &route : m_routes) {
        QHash<QString, QString> params;
        if (!matches(route.segments, segments, params))
            continue;
        result.pathKnown = true;
        if (route.method == method) {
            result.route = &route;
            result.params = std::move(params);
            return result;
        }
    }
    return result;
}

} // namespace vorlie::fake
