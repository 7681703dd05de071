#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace vorlie {

// Tells when an XEmbed system tray starts on the X display: a tray that takes
// its selection announces itself to every client with a MANAGER message on
// the root window, so nothing needs to ask the display again and again.
// Off X11 it never reports.
class XEmbedTrayWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit XEmbedTrayWatch(QObject *parent = nullptr);
    ~XEmbedTrayWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void trayAppeared();

private:
    quint32 m_managerAtom = 0;
    quint32 m_selectionAtom = 0;
};

} // namespace vorlie
