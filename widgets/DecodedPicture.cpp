#include "DecodedPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace vorlie {

DecodedPicture::DecodedPicture(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

QImage DecodedPicture::decode(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > maxEdge || size.height() > maxEdge)
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QImage LastDecodedPicture::decode(const QByteArray &data)
{
    const std::lock_guard lock(m_mutex);
    if (data != m_data) {
        m_image = DecodedPicture::decode(data);
        m_data = data;
    }
    return m_image;
}

void DecodedPicture::setSnapshot(WidgetSnapshotObject *snapshot)
{
    if (snapshot == m_snapshot)
        return;
    const bool wasDecoded = decoded();
    m_snapshot = snapshot;
    m_image = snapshot ? snapshot->picture() : QImage();
    emit snapshotChanged();
    if (decoded() != wasDecoded)
        emit decodedChanged();
    update();
}

void DecodedPicture::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    const QSizeF fitted = QSizeF(m_image.size()).scaled(size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, m_image);
}

} // namespace vorlie
