#pragma once

#include "widget/WidgetSnapshot.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QObject>
#include <QQmlEngine>
#include <QUrl>

#include <functional>
#include <optional>

namespace vorlie {

// The widget's clock: the wall clock, or a test's.
using WidgetClock = std::function<QDateTime()>;

// The stored snapshot as the widget's views read it. Values never change:
// a new timeline entry brings a new object.
class WidgetSnapshotObject : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("snapshots come from the timeline provider")
    Q_PROPERTY(QString displayName READ displayName CONSTANT)
    Q_PROPERTY(QString statusText READ statusText CONSTANT)
    Q_PROPERTY(QString emoji READ emoji CONSTANT)
    Q_PROPERTY(bool isExpired READ isExpired CONSTANT)
    Q_PROPERTY(QString moodShown READ moodShown CONSTANT)
    Q_PROPERTY(QDateTime updatedAt READ updatedAt CONSTANT)

public:
    // `picture` is the snapshot's own, decoded.
    WidgetSnapshotObject(WidgetSnapshot snapshot, QImage picture, const QLocale &formattingLocale, WidgetClock now,
                         QObject *parent);

    const WidgetSnapshot &snapshot() const { return m_snapshot; }

    QString displayName() const { return m_snapshot.displayName; }
    QString statusText() const { return m_snapshot.statusText; }
    // Empty when the status has none.
    QString emoji() const { return m_snapshot.emoji.value_or(QString()); }
    bool isExpired() const { return m_snapshot.isExpired; }
    // The raw visual state the avatar's badge shows: an expired status shows
    // no mood at all.
    QString moodShown() const;
    QDateTime updatedAt() const { return m_snapshot.updatedAt; }
    // Null when the picture has not arrived yet or does not decode; one
    // image, however many views draw it.
    const QImage &picture() const { return m_picture; }

    // How long ago the status was set, abbreviated, in the interface
    // language, as of this call: a view asks when it draws, not when its
    // entry was made.
    Q_INVOKABLE QString elapsedText() const;
    // While the application could not reach the service: that it is offline
    // and how old the snapshot is, as of this call; empty otherwise.
    Q_INVOKABLE QString offlineText() const;

private:
    WidgetSnapshot m_snapshot;
    QImage m_picture;
    QLocale m_formattingLocale;
    WidgetClock m_now;
};

// One timeline entry of the main-person widget.
class MainPersonEntry : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("entries come from the timeline provider")
    Q_PROPERTY(QDateTime date READ date CONSTANT)
    // Null when nothing usable is stored.
    Q_PROPERTY(vorlie::WidgetSnapshotObject *snapshot READ snapshotObject CONSTANT)
    Q_PROPERTY(bool showUpdatedTime READ showUpdatedTime CONSTANT)
    // What a tap opens: the app's home, or its status picker while no main
    // person is known.
    Q_PROPERTY(QUrl widgetURL READ widgetURL CONSTANT)

public:
    MainPersonEntry(QDateTime date, const std::optional<WidgetSnapshot> &snapshot, const QImage &picture,
                    bool showUpdatedTime, const QLocale &formattingLocale, WidgetClock now);

    QDateTime date() const { return m_date; }
    std::optional<WidgetSnapshot> snapshot() const;
    WidgetSnapshotObject *snapshotObject() const { return m_snapshot; }
    bool showUpdatedTime() const { return m_showUpdatedTime; }
    QUrl widgetURL() const;

private:
    QDateTime m_date;
    WidgetSnapshotObject *m_snapshot = nullptr; // child
    bool m_showUpdatedTime;
};

} // namespace vorlie
