#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QImage>
#include <QList>
#include <QObject>
#include <QStringList>
#include <optional>

namespace vorlie::testing {

// One entry of an item's exported menu.
struct TrayMenuEntry {
    int id = 0;
    QString label;
};

// The host's side of one registered StatusNotifierItem: reads what a panel
// shows and acts as a panel does. Every call waits for its answer while the
// event loop runs, so the item may live in the calling process.
class StatusNotifierItemClient : public QObject {
    Q_OBJECT
public:
    // `item` as the watcher lists it: bus name followed by the object path.
    explicit StatusNotifierItemClient(const QString &item);
    ~StatusNotifierItemClient() override;

    // Every picture of "IconPixmap", largest first.
    QList<QImage> iconPixmaps();
    // The title of "ToolTip".
    std::optional<QString> toolTipTitle();
    std::optional<QString> status();
    bool activate(int x, int y);
    // The visible entries of the menu exported at the item's "Menu" path.
    QList<TrayMenuEntry> menuEntries();
    bool clickMenuEntry(int id);

    // "NewIcon" signals seen since construction. Answers arrive in order
    // after the signals the item sent before them, so a read first makes
    // the count current.
    int newIconCount() const { return m_newIcons; }

private slots:
    void newIcon() { ++m_newIcons; }

private:
    std::optional<QDBusMessage> call(const QDBusMessage &message);
    std::optional<QVariant> property(const QString &name);
    QString menuPath();

    QString m_service;
    QString m_path;
    QString m_connectionName;
    QDBusConnection m_bus;
    int m_newIcons = 0;
};

} // namespace vorlie::testing
