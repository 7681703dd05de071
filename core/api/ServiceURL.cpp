#include "ServiceURL.h"

namespace vorlie {

QUrl serviceURL(const QUrl &baseURL, const QString &path, const QMap<QString, QString> &query)
{
    QUrl url = baseURL;
    QString fullPath = url.path(QUrl::FullyDecoded);
    if (!fullPath.endsWith(u'/'))
        fullPath += u'/';
    fullPath += path;
    url.setPath(fullPath, QUrl::DecodedMode);

    if (!query.isEmpty()) {
        QByteArray encoded;
        for (auto it = query.cbegin(); it != query.cend(); ++it) {
            if (!encoded.isEmpty())
                encoded += '&';
            encoded += QUrl::toPercentEncoding(it.key()) + '=' + QUrl::toPercentEncoding(it.value());
        }
        url.setQuery(QString::fromLatin1(encoded), QUrl::StrictMode);
    }
    return url;
}

} // namespace vorlie
