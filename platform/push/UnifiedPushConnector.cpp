#include "UnifiedPushConnector.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace vorlie {

// What distributors call. Kept apart from the connector so only these three
// methods are on the bus, not the connector's own signals.
class ConnectorAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.unifiedpush.Connector1")
public:
    explicit ConnectorAdaptor(UnifiedPushConnector *connector)
        : QDBusAbstractAdaptor(connector)
        , m_connector(connector)
    {
    }

public slots:
    void Message(const QString &token, const QByteArray &message, const QString &messageIdentifier)
    {
        Q_UNUSED(messageIdentifier)
        m_connector->onMessage(token, message);
    }
    void NewEndpoint(const QString &token, const QString &endpoint) { m_connector->onNewEndpoint(token, endpoint); }
    void Unregistered(const QString &token) { m_connector->onUnregistered(token); }

private:
    UnifiedPushConnector *m_connector;
};

namespace {

QString randomToken()
{
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(words.data()), static_cast<qsizetype>(sizeof words)).toHex());
}

const QString succeeded = QStringLiteral("REGISTRATION_SUCCEEDED");

} // namespace

UnifiedPushConnector::UnifiedPushConnector(const QString &serviceName, QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_serviceName(serviceName)
    , m_token(randomToken())
{
    new ConnectorAdaptor(this);
}

UnifiedPushConnector::~UnifiedPushConnector()
{
    if (m_objectRegistered)
        m_bus.unregisterObject(QString::fromLatin1(objectPath));
    if (m_serviceRegistered)
        m_bus.unregisterService(m_serviceName);
}

void UnifiedPushConnector::start()
{
    if (!m_bus.isConnected()) {
        fail(QStringLiteral("no session bus"));
        return;
    }
    if (!m_objectRegistered)
        m_objectRegistered = m_bus.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportAdaptors);
    if (!m_serviceRegistered)
        m_serviceRegistered = m_bus.registerService(m_serviceName);
    // A distributor calls back by name: without it, nothing could arrive.
    if (!m_objectRegistered || !m_serviceRegistered) {
        fail(QStringLiteral("cannot claim %1 on the session bus").arg(m_serviceName));
        return;
    }

    const QString chosen = qEnvironmentVariable(distributorVariable);
    if (!chosen.isEmpty()) {
        registerWith(chosen);
        return;
    }
    const QDBusMessage list = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                             QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(list), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QStringList> reply = *call;
        if (reply.isError()) {
            fail(reply.error().message());
            return;
        }
        QStringList names = reply.value();
        names.removeIf([](const QString &name) { return !name.startsWith(QLatin1StringView(distributorPrefix)); });
        if (names.isEmpty()) {
            fail(QStringLiteral("no distributor on the session bus"));
            return;
        }
        std::sort(names.begin(), names.end());
        registerWith(names.constFirst());
    });
}

void UnifiedPushConnector::registerWith(const QString &distributor)
{
    m_distributor = distributor;
    QDBusMessage call = QDBusMessage::createMethodCall(distributor, QString::fromLatin1(distributorPath),
                                                       QString::fromLatin1(distributorInterface), QStringLiteral("Register"));
    call.setArguments({m_serviceName, m_token, QStringLiteral("vorlie")});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *pending) {
        pending->deleteLater();
        const QDBusPendingReply<QString, QString> reply = *pending;
        if (reply.isError()) {
            fail(reply.error().message());
            return;
        }
        // Success means the endpoint follows as NewEndpoint.
        if (reply.argumentAt<0>() != succeeded) {
            const QString reason = reply.argumentAt<1>();
            fail(reason.isEmpty() ? reply.argumentAt<0>() : reason);
        }
    });
}

void UnifiedPushConnector::fail(const QString &reason)
{
    QMetaObject::invokeMethod(this, [this, reason] { emit registrationFailed(reason); }, Qt::QueuedConnection);
}

void UnifiedPushConnector::onMessage(const QString &token, const QByteArray &message)
{
    if (token != m_token || message.size() > maxMessageBytes)
        return;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(message, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return;
    emit messageReceived(document.object().toVariantMap());
}

void UnifiedPushConnector::onNewEndpoint(const QString &token, const QString &endpoint)
{
    // An endpoint is a URL; anything longer than a URL can sensibly be is not sent to the service.
    if (token != m_token || endpoint.isEmpty() || endpoint.size() > maxEndpointLength)
        return;
    emit deviceTokenReceived(endpoint.toUtf8());
}

void UnifiedPushConnector::onUnregistered(const QString &token)
{
    if (token != m_token)
        return;
    emit unregistered();
}

} // namespace vorlie

#include "UnifiedPushConnector.moc"
