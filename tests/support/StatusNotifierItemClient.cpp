#include "StatusNotifierItemClient.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QUuid>
#include <QtEndian>
#include <algorithm>

namespace vorlie::testing {

namespace {

const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");
constexpr int answerMs = 5000;

// a(iiay): ARGB32 in network byte order.
QList<QImage> decodePixmaps(const QDBusArgument &argument)
{
    QList<QImage> images;
    argument.beginArray();
    while (!argument.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray bytes;
        argument.beginStructure();
        argument >> width >> height >> bytes;
        argument.endStructure();
        if (width <= 0 || height <= 0 || bytes.size() != qsizetype(width) * height * 4)
            continue;
        QImage image(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            qFromBigEndian<quint32>(bytes.constData() + qsizetype(y) * width * 4, width, line);
        }
        images.append(image);
    }
    argument.endArray();
    std::sort(images.begin(), images.end(), [](const QImage &a, const QImage &b) { return a.width() > b.width(); });
    return images;
}

} // namespace

StatusNotifierItemClient::StatusNotifierItemClient(const QString &item)
    : m_service(item.left(item.indexOf(QLatin1Char('/')))),
      m_path(item.mid(item.indexOf(QLatin1Char('/')))),
      m_connectionName(QStringLiteral("sni-host-") + QUuid::createUuid().toString(QUuid::Id128)),
      m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
{
    m_bus.connect(m_service, m_path, itemInterface, QStringLiteral("NewIcon"), this, SLOT(newIcon()));
}

StatusNotifierItemClient::~StatusNotifierItemClient()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
}

std::optional<QDBusMessage> StatusNotifierItemClient::call(const QDBusMessage &message)
{
    const QDBusPendingCall pending = m_bus.asyncCall(message, answerMs);
    const QDeadlineTimer deadline(answerMs + 500);
    while (!pending.isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!pending.isFinished() || pending.isError())
        return std::nullopt;
    return pending.reply();
}

std::optional<QVariant> StatusNotifierItemClient::property(const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(m_service, m_path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get.setArguments({itemInterface, name});
    const std::optional<QDBusMessage> reply = call(get);
    if (!reply || reply->arguments().isEmpty())
        return std::nullopt;
    return reply->arguments().constFirst().value<QDBusVariant>().variant();
}

// An item without a menu gives an empty path, which no call can reach.
QString StatusNotifierItemClient::menuPath()
{
    const std::optional<QVariant> menu = property(QStringLiteral("Menu"));
    return menu ? menu->value<QDBusObjectPath>().path() : QString();
}

QList<QImage> StatusNotifierItemClient::iconPixmaps()
{
    const std::optional<QVariant> value = property(QStringLiteral("IconPixmap"));
    return value ? decodePixmaps(value->value<QDBusArgument>()) : QList<QImage>();
}

// (sa(iiay)ss): icon name, pictures, title, description.
std::optional<QString> StatusNotifierItemClient::toolTipTitle()
{
    const std::optional<QVariant> value = property(QStringLiteral("ToolTip"));
    if (!value)
        return std::nullopt;
    const QDBusArgument argument = value->value<QDBusArgument>();
    QString iconName;
    QString title;
    argument.beginStructure();
    argument >> iconName;
    decodePixmaps(argument);
    argument >> title;
    return title;
}

std::optional<QString> StatusNotifierItemClient::status()
{
    const std::optional<QVariant> value = property(QStringLiteral("Status"));
    return value ? std::optional<QString>(value->toString()) : std::nullopt;
}

bool StatusNotifierItemClient::activate(int x, int y)
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, m_path, itemInterface, QStringLiteral("Activate"));
    message.setArguments({x, y});
    return call(message).has_value();
}

QList<TrayMenuEntry> StatusNotifierItemClient::menuEntries()
{
    QDBusMessage getLayout = QDBusMessage::createMethodCall(m_service, menuPath(), menuInterface, QStringLiteral("GetLayout"));
    getLayout.setArguments({0, -1, QStringList()});
    const std::optional<QDBusMessage> reply = call(getLayout);
    if (!reply || reply->arguments().size() < 2)
        return {};

    // (ia{sv}av): the root, whose children are variants of the same shape.
    const QDBusArgument root = reply->arguments().at(1).value<QDBusArgument>();
    int rootId = 0;
    QVariantMap rootProperties;
    root.beginStructure();
    root >> rootId >> rootProperties;
    QList<TrayMenuEntry> entries;
    root.beginArray();
    while (!root.atEnd()) {
        QDBusVariant child;
        root >> child;
        const QDBusArgument node = child.variant().value<QDBusArgument>();
        TrayMenuEntry entry;
        QVariantMap properties;
        node.beginStructure();
        node >> entry.id >> properties;
        if (properties.value(QStringLiteral("visible"), true).toBool()
            && properties.value(QStringLiteral("type")).toString() != QStringLiteral("separator")) {
            entry.label = properties.value(QStringLiteral("label")).toString();
            entries.append(entry);
        }
    }
    return entries;
}

bool StatusNotifierItemClient::clickMenuEntry(int id)
{
    QDBusMessage event = QDBusMessage::createMethodCall(m_service, menuPath(), menuInterface, QStringLiteral("Event"));
    event.setArguments({id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    return call(event).has_value();
}

} // namespace vorlie::testing
