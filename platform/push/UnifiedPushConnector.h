#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace vorlie {

// The application's side of UnifiedPush on the session bus: registers with
// the first distributor it finds and hands on what that distributor sends.
// The instance token lives in memory only, so every run registers afresh and
// gets a new endpoint, which the app then sends to the service as it does
// after every sign-in anyway. Never prints anything: a desktop without a
// distributor is normal and only means registrationFailed().
class UnifiedPushConnector : public QObject {
    Q_OBJECT
public:
    static constexpr const char *objectPath = "/org/unifiedpush/Connector";
    static constexpr const char *interfaceName = "org.unifiedpush.Connector1";
    static constexpr const char *distributorPrefix = "org.unifiedpush.Distributor.";
    static constexpr const char *distributorPath = "/org/unifiedpush/Distributor";
    static constexpr const char *distributorInterface = "org.unifiedpush.Distributor1";
    // Names a distributor to use instead of looking for one.
    static constexpr const char *distributorVariable = "VORLIE_PUSH_DISTRIBUTOR";
    static constexpr qsizetype maxMessageBytes = 4096;
    static constexpr qsizetype maxEndpointLength = 2048;

    // `serviceName` is the well-known name distributors call back on, e.g. "com.vorlia.app".
    explicit UnifiedPushConnector(const QString &serviceName, QDBusConnection bus = QDBusConnection::sessionBus(),
                                  QObject *parent = nullptr);
    ~UnifiedPushConnector() override;

    // Claims the name and the object, then registers asynchronously. Every
    // outcome arrives as a signal, never before start() has returned.
    void start();

    QString serviceName() const { return m_serviceName; }
    // The token distributors must quote back; calls with any other are ignored.
    QString token() const { return m_token; }
    // Empty until a distributor was picked.
    QString distributor() const { return m_distributor; }

signals:
    // The endpoint URL's UTF-8 bytes.
    void deviceTokenReceived(const QByteArray &token);
    // The keys and values of a pushed JSON object.
    void messageReceived(const QVariantMap &userInfo);
    void registrationFailed(const QString &reason);
    void unregistered();

private:
    friend class ConnectorAdaptor;
    void onMessage(const QString &token, const QByteArray &message);
    void onNewEndpoint(const QString &token, const QString &endpoint);
    void onUnregistered(const QString &token);

    void registerWith(const QString &distributor);
    void fail(const QString &reason);

    QDBusConnection m_bus;
    QString m_serviceName;
    QString m_token;
    QString m_distributor;
    bool m_objectRegistered = false;
    bool m_serviceRegistered = false;
};

} // namespace vorlie
