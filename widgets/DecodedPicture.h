#pragma once

#include "MainPersonEntry.h"

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>

#include <mutex>

namespace vorlie {

// Draws the snapshot's avatar picture scaled to fit, aspect kept. A picture
// that did not decode draws nothing and leaves `decoded` false, so the view
// can show its placeholder instead. The picture is handed over in C++ only:
// bytes read by QML would become a JavaScript buffer that outlives its
// snapshot until the collector happens to run.
class DecodedPicture : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(vorlie::WidgetSnapshotObject *snapshot READ snapshot WRITE setSnapshot NOTIFY snapshotChanged)
    Q_PROPERTY(bool decoded READ decoded NOTIFY decodedChanged)

public:
    // Larger pictures are refused before decoding: the app stores 192 px.
    static constexpr int maxEdge = 1024;

    explicit DecodedPicture(QQuickItem *parent = nullptr);

    WidgetSnapshotObject *snapshot() const { return m_snapshot; }
    void setSnapshot(WidgetSnapshotObject *snapshot);
    bool decoded() const { return !m_image.isNull(); }

    void paint(QPainter *painter) override;

    static QImage decode(const QByteArray &data);

signals:
    void snapshotChanged();
    void decodedChanged();

private:
    QPointer<WidgetSnapshotObject> m_snapshot;
    QImage m_image;
};

// The picture decoded last and the bytes it came from. Most reloads find the
// picture the last one drew, and decoding it again was most of their cost.
class LastDecodedPicture {
public:
    // As DecodedPicture::decode; any thread.
    QImage decode(const QByteArray &data);

private:
    std::mutex m_mutex;
    QByteArray m_data;
    QImage m_image;
};

} // namespace vorlie
