#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

namespace vorlie::fake {
class HttpServer;
struct HttpRequest;
struct ScriptedReply;
} // namespace vorlie::fake

namespace vorlie::devpush {

// A UnifiedPush distributor for development: apps register over D-Bus and
// get an endpoint "http://127.0.0.1:PORT/push/<id>"; whatever is POSTed
// there reaches the app as a Message. Nothing is queued: an app that is not
// on the bus when a push comes in misses it.
class DevDistributor : public QObject {
    Q_OBJECT
public:
    static constexpr const char *defaultBusName = "org.unifiedpush.Distributor.vorlie_dev";
    static constexpr const char *objectPath = "/org/unifiedpush/Distributor";
    static constexpr qsizetype maxMessageBytes = 4096;

    explicit DevDistributor(QDBusConnection bus, const QString &busName = QString::fromLatin1(defaultBusName),
                            QObject *parent = nullptr);
    ~DevDistributor() override;

    // Claims the bus name and listens on 127.0.0.1 (port 0 picks a free one).
    // Gives the port, or 0 when either failed. Call on the object's thread.
    quint16 start(quint16 port = 0);
    quint16 port() const { return m_port; }
    QString busName() const { return m_busName; }

private:
    friend class DistributorAdaptor;
    struct Registration {
        QString serviceName;
        QString id; // the endpoint's last segment
    };

    QString registerApp(const QString &serviceName, const QString &token);
    void unregisterApp(const QString &token);
    fake::ScriptedReply answer(const fake::HttpRequest &request);
    void callConnector(const QString &serviceName, const QString &method, const QVariantList &arguments);

    QDBusConnection m_bus;
    QString m_busName;
    fake::HttpServer *m_server;
    quint16 m_port = 0;
    bool m_objectRegistered = false;
    bool m_serviceRegistered = false;
    QHash<QString, Registration> m_registrations; // by connector token
    int m_nextMessage = 1;
};

} // namespace vorlie::devpush
