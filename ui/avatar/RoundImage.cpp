#include "RoundImage.h"

#include "AvatarImages.h"
#include "EngineObjects.h"
#include "widget/WidgetSnapshotStore.h"

#include <QPainter>
#include <QPainterPath>
#include <QQmlEngine>

namespace vorlie {

RoundImage::RoundImage(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void RoundImage::setSource(const QUrl &source)
{
    if (m_source == source)
        return;
    m_source = source;
    emit sourceChanged();
    reload();
}

void RoundImage::setImageData(const QByteArray &data)
{
    if (m_imageData == data)
        return;
    m_imageData = data;
    emit imageDataChanged();
    reload();
}

void RoundImage::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    reload();
}

AvatarImages *RoundImage::images() const
{
    const QQmlEngine *engine = qmlEngine(this);
    return engine ? qobject_cast<AvatarImages *>(providedToQml(*engine, AvatarImages::staticMetaObject)) : nullptr;
}

void RoundImage::reload()
{
    if (!isComponentComplete())
        return;
    disconnect(m_pending);
    if (!m_imageData.isEmpty()) {
        const QImage picture = decodeAvatarPicture(m_imageData);
        show(picture);
        setStatus(picture.isNull() ? Status::Error : Status::Ready);
        return;
    }
    if (m_source.isEmpty()) {
        show({});
        setStatus(Status::Null);
        return;
    }
    AvatarImages *loader = images();
    QQmlEngine *engine = qmlEngine(this);
    if (!loader || !engine || !engine->networkAccessManager()) {
        show({});
        setStatus(Status::Error);
        return;
    }
    const QImage cached = loader->cached(m_source);
    if (!cached.isNull()) {
        show(cached);
        setStatus(Status::Ready);
        return;
    }
    show({});
    setStatus(Status::Loading);
    m_pending = connect(loader, &AvatarImages::finished, this, [this, loader](const QUrl &url) {
        if (url != m_source)
            return;
        disconnect(m_pending);
        const QImage picture = loader->cached(url);
        show(picture);
        setStatus(picture.isNull() ? Status::Error : Status::Ready);
    });
    loader->request(m_source, *engine->networkAccessManager());
}

void RoundImage::show(const QImage &picture)
{
    m_picture = picture;
    update();
}

void RoundImage::setStatus(Status status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged();
}

void RoundImage::paint(QPainter *painter)
{
    if (m_picture.isNull())
        return;
    const QSizeF area = size();
    QSizeF drawn = QSizeF(m_picture.size()).scaled(area, Qt::KeepAspectRatio);
    const QRectF target((area.width() - drawn.width()) / 2, (area.height() - drawn.height()) / 2, drawn.width(),
                        drawn.height());
    QPainterPath circle;
    circle.addEllipse(QRectF(QPointF(0, 0), area));
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipPath(circle);
    painter->drawImage(target, m_picture);
}

} // namespace vorlie
