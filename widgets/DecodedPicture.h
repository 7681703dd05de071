#pragma once

#include <QByteArray>
#include <QImage>
#include <QQuickPaintedItem>

namespace vorlie {

// Draws picture bytes (PNG from the snapshot) scaled to fit, aspect kept.
// Bytes that do not decode, or that claim an absurd size, draw nothing and
// leave `decoded` false, so the view can show its placeholder instead.
class DecodedPicture : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QByteArray data READ data WRITE setData NOTIFY dataChanged)
    Q_PROPERTY(bool decoded READ decoded NOTIFY decodedChanged)

public:
    // Larger pictures are refused before decoding: the app stores 192 px.
    static constexpr int maxEdge = 1024;

    explicit DecodedPicture(QQuickItem *parent = nullptr);

    QByteArray data() const { return m_data; }
    void setData(const QByteArray &data);
    bool decoded() const { return !m_image.isNull(); }

    void paint(QPainter *painter) override;

    static QImage decode(const QByteArray &data);

signals:
    void dataChanged();
    void decodedChanged();

private:
    QByteArray m_data;
    QImage m_image;
};

} // namespace vorlie
