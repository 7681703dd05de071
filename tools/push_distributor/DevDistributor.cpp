#include "DevDistributor.h"

#include "HttpServer.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace vorlie::devpush {

class DistributorAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.unifiedpush.Distributor1")
public:
    explicit DistributorAdaptor(DevDistributor *distributor)
        : QDBusAbstractAdaptor(distributor)
        , m_distributor(distributor)
    {
    }

public slots:
    QString Register(const QString &serviceName, const QString &token, const QString &description, QString &registrationResultReason)
    {
        Q_UNUSED(description)
        registrationResultReason = m_distributor->registerApp(serviceName, token);
        return registrationResultReason.isEmpty() ? QStringLiteral("REGISTRATION_SUCCEEDED") : QStringLiteral("REGISTRATION_FAILED");
    }
    void Unregister(const QString &token) { m_distributor->unregisterApp(token); }

private:
    DevDistributor *m_distributor;
};

namespace {

const QString connectorPath = QStringLiteral("/org/unifiedpush/Connector");
const QString connectorInterface = QStringLiteral("org.unifiedpush.Connector1");
const QByteArray pushPrefix = QByteArrayLiteral("/push/");

// Endpoints are the only secret between a pusher and an app: not guessable.
QString randomId()
{
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(words.data()), static_cast<qsizetype>(sizeof words)).toHex());
}

fake::ScriptedReply status(int code)
{
    fake::ScriptedReply reply;
    reply.status = code;
    return reply;
}

} // namespace

DevDistributor::DevDistributor(QDBusConnection bus, const QString &busName, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_busName(busName)
    , m_server(new fake::HttpServer([this](const fake::HttpRequest &request) { return answer(request); }, this))
{
    new DistributorAdaptor(this);
}

DevDistributor::~DevDistributor()
{
    // Connections first: none may reach the registrations while they go.
    delete m_server;
    if (m_objectRegistered)
        m_bus.unregisterObject(QString::fromLatin1(objectPath));
    if (m_serviceRegistered)
        m_bus.unregisterService(m_busName);
}

quint16 DevDistributor::start(quint16 port)
{
    if (!m_bus.isConnected())
        return 0;
    // Listening first: endpoints handed out at once must name the real port.
    if (m_port == 0)
        m_port = m_server->listen(port);
    if (m_port == 0)
        return 0;
    if (!m_objectRegistered)
        m_objectRegistered = m_bus.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportAdaptors);
    if (!m_serviceRegistered)
        m_serviceRegistered = m_bus.registerService(m_busName);
    return m_objectRegistered && m_serviceRegistered ? m_port : 0;
}

QString DevDistributor::registerApp(const QString &serviceName, const QString &token)
{
    if (serviceName.isEmpty() || token.isEmpty())
        return QStringLiteral("service name and token are required");
    // Registering again keeps the endpoint, so the app need not tell its service anew.
    auto existing = m_registrations.find(token);
    if (existing == m_registrations.end() || existing->serviceName != serviceName)
        existing = m_registrations.insert(token, Registration{serviceName, randomId()});
    const QString endpoint = QStringLiteral("http://127.0.0.1:%1/push/%2").arg(m_port).arg(existing->id);
    // After the answer to Register has gone out, so the app hears of success first.
    QMetaObject::invokeMethod(this, [this, serviceName, token, endpoint] {
        callConnector(serviceName, QStringLiteral("NewEndpoint"), {token, endpoint});
    }, Qt::QueuedConnection);
    return {};
}

void DevDistributor::unregisterApp(const QString &token)
{
    const auto registration = m_registrations.constFind(token);
    if (registration == m_registrations.constEnd())
        return;
    const QString serviceName = registration->serviceName;
    m_registrations.erase(registration);
    callConnector(serviceName, QStringLiteral("Unregistered"), {token});
}

fake::ScriptedReply DevDistributor::answer(const fake::HttpRequest &request)
{
    const qsizetype query = request.target.indexOf('?');
    const QByteArray path = query < 0 ? request.target : request.target.left(query);
    if (!path.startsWith(pushPrefix))
        return status(404);
    const QString id = QString::fromLatin1(path.mid(pushPrefix.size()));
    const auto registration = std::find_if(m_registrations.cbegin(), m_registrations.cend(),
                                           [&id](const Registration &r) { return r.id == id; });
    if (id.isEmpty() || registration == m_registrations.cend())
        return status(404);
    if (request.method != "POST")
        return status(405);
    if (request.body.size() > maxMessageBytes)
        return status(413);
    const QString messageId = QStringLiteral("vorlie-dev-%1").arg(m_nextMessage++);
    callConnector(registration->serviceName, QStringLiteral("Message"), {registration.key(), request.body, messageId});
    return status(201);
}

// Fire and forget: an app that went away must not hold up the pusher.
void DevDistributor::callConnector(const QString &serviceName, const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, connectorPath, connectorInterface, method);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    m_bus.send(call);
}

} // namespace vorlie::devpush

#include "DevDistributor.moc"
