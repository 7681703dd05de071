#include "AtSpiReader.h"

#include "support/SpinUntil.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>

namespace vorlie::testing {
namespace {

// Who hands out the accessibility bus, on the session bus.
const QString launcherName = QStringLiteral("org.a11y.Bus");
// Where AT-SPI keeps an application's root object, and its interfaces.
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString textInterface = QStringLiteral("org.a11y.atspi.Text");

QVariant firstArgument(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() ? reply.arguments().first()
                                                                                      : QVariant();
}

// AT-SPI's object references, a(so): where each object lives and its path.
QList<std::pair<QString, QString>> references(const QDBusMessage &reply)
{
    QList<std::pair<QString, QString>> found;
    const QVariant list = firstArgument(reply);
    if (!list.canConvert<QDBusArgument>())
        return found;
    const auto argument = list.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        QString service;
        QDBusObjectPath path;
        argument.beginStructure();
        argument >> service >> path;
        argument.endStructure();
        found.append({service, path.path()});
    }
    argument.endArray();
    return found;
}

} // namespace

AtSpiReader::AtSpiReader()
{
    QDBusConnectionInterface *session = QDBusConnection::sessionBus().interface();
    if (!session->isServiceRegistered(launcherName)) {
        m_launcher.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")});
        spinUntil([session] { return session->isServiceRegistered(launcherName).value(); });
    }
    const QDBusMessage address = call(QDBusConnection::sessionBus(),
                                      QDBusMessage::createMethodCall(launcherName, QStringLiteral("/org/a11y/bus"),
                                                                     launcherName, QStringLiteral("GetAddress")));
    m_bus = QDBusConnection::connectToBus(firstArgument(address).toString(), QStringLiteral("vorlie-atspi-reader"));
}

AtSpiReader::~AtSpiReader()
{
    QDBusConnection::disconnectFromBus(m_bus.name());
    // Politely: the launcher takes its bus down with it only when asked to stop.
    if (m_launcher.state() != QProcess::NotRunning) {
        m_launcher.terminate();
        m_launcher.waitForFinished(5000);
    }
}

QDBusMessage AtSpiReader::call(const QDBusConnection &bus, const QDBusMessage &message)
{
    QDBusPendingCall pending = bus.asyncCall(message, 5000);
    spinUntil([&pending] { return pending.isFinished(); }, std::chrono::seconds(6));
    return pending.reply();
}

QDBusMessage AtSpiReader::ask(const QString &service, const QString &path, const QString &interface,
                              const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return call(m_bus, message);
}

QString AtSpiReader::property(const QString &service, const QString &path, const QString &name)
{
    const QVariant value = firstArgument(ask(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                             QStringLiteral("Get"), {accessible, name}));
    return value.value<QDBusVariant>().variant().toString();
}

bool AtSpiReader::found()
{
    // The registry's desktop lists every application on the bus.
    const QDBusMessage applications =
        ask(QStringLiteral("org.a11y.atspi.Registry"), rootPath, accessible, QStringLiteral("GetChildren"));
    for (const auto &[service, path] : references(applications)) {
        QDBusMessage owner = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
        owner << service;
        if (firstArgument(call(m_bus, owner)).toLongLong() == QCoreApplication::applicationPid())
            m_service = service;
    }
    return !m_service.isEmpty();
}

QList<AtSpiNode> AtSpiReader::nodes()
{
    QList<AtSpiNode> all;
    if (m_service.isEmpty() && !spinUntil([this] { return found(); }, std::chrono::seconds(10)))
        return all;
    for (const auto &[service, path] : references(ask(m_service, rootPath, accessible, QStringLiteral("GetChildren"))))
        walk(service, path, -1, all);
    return all;
}

bool AtSpiReader::act(const AtSpiNode &node, const QString &action)
{
    const QString actions = QStringLiteral("org.a11y.atspi.Action");
    const int count = firstArgument(ask(node.service, node.path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {actions, QStringLiteral("NActions")}))
                          .value<QDBusVariant>()
                          .variant()
                          .toInt();
    for (int i = 0; i < count; ++i) {
        if (firstArgument(ask(node.service, node.path, actions, QStringLiteral("GetName"), {i})).toString() == action)
            return firstArgument(ask(node.service, node.path, actions, QStringLiteral("DoAction"), {i})).toBool();
    }
    return false;
}

void AtSpiReader::walk(const QString &service, const QString &path, qsizetype parent, QList<AtSpiNode> &into)
{
    const auto answer = [&](const QString &interface, const char *method, const QVariantList &arguments = {}) {
        return firstArgument(ask(service, path, interface, QLatin1String(method), arguments));
    };
    AtSpiNode node;
    node.parent = parent;
    node.service = service;
    node.path = path;
    node.role = answer(accessible, "GetRole").toUInt();
    node.roleName = answer(accessible, "GetRoleName").toString();
    node.name = property(service, path, QStringLiteral("Name"));
    node.description = property(service, path, QStringLiteral("Description"));
    node.stateWords = qdbus_cast<QList<unsigned>>(answer(accessible, "GetState"));
    if (answer(accessible, "GetInterfaces").toStringList().contains(textInterface))
        node.content = answer(textInterface, "GetText", {0, -1}).toString();
    into.append(node);
    const qsizetype place = into.size() - 1;
    const QDBusMessage children = ask(service, path, accessible, QStringLiteral("GetChildren"));
    for (const auto &[childService, childPath] : references(children))
        walk(childService, childPath, place, into);
}

} // namespace vorlie::testing
