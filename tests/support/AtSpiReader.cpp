#include "AtSpiReader.h"

#include "SpinUntil.h"

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
const QString actionInterface = QStringLiteral("org.a11y.atspi.Action");
const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");

// Answers are awaited while the event loop runs: the objects asked for live
// in this very thread.
QVariant answer(const QDBusConnection &bus, const QString &service, const QString &path, const QString &interface,
                const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    QDBusPendingCall pending = bus.asyncCall(message, 5000);
    spinUntil([&pending] { return pending.isFinished(); }, std::chrono::seconds(6));
    const QDBusMessage reply = pending.reply();
    const QVariant first = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                               ? reply.arguments().first() : QVariant();
    // A property's value comes wrapped.
    return first.canConvert<QDBusVariant>() ? first.value<QDBusVariant>().variant() : first;
}

// AT-SPI's object references, a(so): where each object lives and its path.
QList<std::pair<QString, QString>> references(const QVariant &list)
{
    QList<std::pair<QString, QString>> found;
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

AtSpiReader::AtSpiReader(const QProcess *program)
    : m_program(program)
{
    QDBusConnectionInterface *session = QDBusConnection::sessionBus().interface();
    if (!session->isServiceRegistered(launcherName)) {
        m_launcher.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")});
        spinUntil([session] { return session->isServiceRegistered(launcherName).value(); });
    }
    const QVariant address = answer(QDBusConnection::sessionBus(), launcherName, QStringLiteral("/org/a11y/bus"),
                                    launcherName, QStringLiteral("GetAddress"));
    m_bus = QDBusConnection::connectToBus(address.toString(), QStringLiteral("vorlie-atspi-reader"));
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

bool AtSpiReader::found()
{
    // The registry's desktop lists every application on the bus.
    for (const auto &[service, path] : references(
             answer(m_bus, QStringLiteral("org.a11y.atspi.Registry"), rootPath, accessible, QStringLiteral("GetChildren")))) {
        const QString dbus = QStringLiteral("org.freedesktop.DBus");
        if (answer(m_bus, dbus, QStringLiteral("/org/freedesktop/DBus"), dbus, QStringLiteral("GetConnectionUnixProcessID"), {service})
                .toLongLong()
            == (m_program ? m_program->processId() : QCoreApplication::applicationPid()))
            m_service = service;
    }
    return !m_service.isEmpty();
}

QList<AtSpiNode> AtSpiReader::nodes()
{
    QList<AtSpiNode> all;
    if (m_service.isEmpty() && !spinUntil([this] { return found(); }, std::chrono::seconds(10)))
        return all;
    for (const auto &reference : references(answer(m_bus, m_service, rootPath, accessible, QStringLiteral("GetChildren"))))
        walk(reference.second, -1, all);
    return all;
}

bool AtSpiReader::act(const AtSpiNode &node, const QString &action)
{
    const QVariantList nActions{actionInterface, QStringLiteral("NActions")};
    const int count = answer(m_bus, m_service, node.path, properties, QStringLiteral("Get"), nActions).toInt();
    for (int i = 0; i < count; ++i) {
        if (answer(m_bus, m_service, node.path, actionInterface, QStringLiteral("GetName"), {i}).toString() == action)
            return answer(m_bus, m_service, node.path, actionInterface, QStringLiteral("DoAction"), {i}).toBool();
    }
    return false;
}

void AtSpiReader::walk(const QString &path, qsizetype parent, QList<AtSpiNode> &into)
{
    const auto get = [&](const QString &interface, const char *method, const QVariantList &arguments = {}) {
        return answer(m_bus, m_service, path, interface, QLatin1String(method), arguments);
    };
    AtSpiNode node;
    node.parent = parent;
    node.path = path;
    node.role = get(accessible, "GetRole").toUInt();
    node.roleName = get(accessible, "GetRoleName").toString();
    node.name = get(properties, "Get", {accessible, QStringLiteral("Name")}).toString();
    node.description = get(properties, "Get", {accessible, QStringLiteral("Description")}).toString();
    node.stateWords = qdbus_cast<QList<unsigned>>(get(accessible, "GetState"));
    if (get(accessible, "GetInterfaces").toStringList().contains(textInterface))
        node.content = get(textInterface, "GetText", {0, -1}).toString();
    into.append(node);
    const qsizetype place = into.size() - 1;
    for (const auto &child : references(get(accessible, "GetChildren")))
        walk(child.second, place, into); // all of this application's objects are on its own connection
}

} // namespace vorlie::testing
