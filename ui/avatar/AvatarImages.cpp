#include "AvatarImages.h"

#include "widget/WidgetSnapshotStore.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace vorlie {
namespace {

constexpr int cacheCostLimit = 16 * 1024 * 1024; // bytes of decoded pixels

int costOf(const QImage &image)
{
    return int(image.sizeInBytes());
}

} // namespace

AvatarImages::AvatarImages(QObject *parent)
    : QObject(parent)
    , m_pictures(cacheCostLimit)
{
}

QImage AvatarImages::cached(const QUrl &url) const
{
    const QImage *picture = m_pictures.object(url);
    return picture ? *picture : QImage();
}

void AvatarImages::request(const QUrl &url, QNetworkAccessManager &network)
{
    if (!url.isValid() || m_pictures.contains(url) || m_inFlight.contains(url))
        return;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    QNetworkReply *reply = network.get(request);
    // Nothing past the cap is ever buffered, whatever the server announces.
    reply->setReadBufferSize(maximumBytes + 1);
    ++m_downloadsStarted;
    m_inFlight.insert(url, reply);
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply] {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > maximumBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->bytesAvailable() > maximumBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, url, reply] { complete(url, reply); });
}

void AvatarImages::complete(const QUrl &url, QNetworkReply *reply)
{
    reply->deleteLater();
    m_inFlight.remove(url);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
        const QImage picture = decodeAvatarPicture(reply->read(maximumBytes + 1));
        if (!picture.isNull())
            m_pictures.insert(url, new QImage(picture), costOf(picture));
    }
    emit finished(url);
}

} // namespace vorlie
