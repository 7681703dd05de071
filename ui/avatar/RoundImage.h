#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QUrl>

namespace vorlie {

class AvatarImages;

// A picture clipped to a circle, scaled to fit with its aspect kept. It comes
// either from `source` (fetched once per process through the engine's
// network) or from `imageData` (PNG bytes, as the widget stores them).
// Drawn by the CPU, so it also works under the software renderer.
class RoundImage : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QByteArray imageData READ imageData WRITE setImageData NOTIFY imageDataChanged)
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)

public:
    enum class Status { Null, Loading, Ready, Error };
    Q_ENUM(Status)

    explicit RoundImage(QQuickItem *parent = nullptr);

    QUrl source() const { return m_source; }
    void setSource(const QUrl &source);
    QByteArray imageData() const { return m_imageData; }
    void setImageData(const QByteArray &data);
    Status status() const { return m_status; }

    void paint(QPainter *painter) override;

signals:
    void sourceChanged();
    void imageDataChanged();
    void statusChanged();

protected:
    void componentComplete() override;

private:
    void reload();
    void show(const QImage &picture);
    void setStatus(Status status);
    AvatarImages *images() const;

    QUrl m_source;
    QByteArray m_imageData;
    QImage m_picture;
    QMetaObject::Connection m_pending; // the download this picture waits for
    Status m_status = Status::Null;
};

} // namespace vorlie
