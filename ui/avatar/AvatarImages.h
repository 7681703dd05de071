#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace vorlie {

// Fetches and decodes avatar pictures, at most once per address for the
// life of the process: decoded pictures stay in a bounded memory cache and
// a second request for an address on its way joins the first.
class AvatarImages : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 maximumBytes = 1024 * 1024;

    explicit AvatarImages(QObject *parent = nullptr);

    // The cached picture, or a null image.
    QImage cached(const QUrl &url) const;
    // Starts a download unless the picture is cached or already on its way;
    // the answer comes as finished(url).
    void request(const QUrl &url, QNetworkAccessManager &network);
    int downloadsStarted() const { return m_downloadsStarted; }

signals:
    void finished(const QUrl &url);

private:
    void complete(const QUrl &url, QNetworkReply *reply);

    QCache<QUrl, QImage> m_pictures;
    QHash<QUrl, QNetworkReply *> m_inFlight;
    int m_downloadsStarted = 0;
};

} // namespace vorlie
