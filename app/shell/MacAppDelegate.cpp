#include "MacAppDelegate.h"

#include <QPointer>
#include <QCoro/QCoroSignal>

namespace vorlie {

void MacAppDelegate::setOnDeviceToken(std::function<void(const QByteArray &)> callback)
{
    m_onDeviceToken = std::move(callback);
    if (m_onDeviceToken && m_deviceToken)
        m_onDeviceToken(*m_deviceToken);
}

void MacAppDelegate::setOnNotificationTapped(std::function<void(const PushNotificationPayload &)> callback)
{
    m_onNotificationTapped = std::move(callback);
}

void MacAppDelegate::didRegisterForRemoteNotifications(const QByteArray &token)
{
    m_deviceToken = token;
    if (m_onDeviceToken)
        m_onDeviceToken(token);
}

QCoro::Task<void> MacAppDelegate::remoteNotification()
{
    if (m_onRemoteNotification)
        co_await m_onRemoteNotification();
}

void MacAppDelegate::didReceiveRemoteNotification()
{
    QCoro::connect(remoteNotification(), this, [] {});
}

QCoro::Task<std::optional<NotificationText>> MacAppDelegate::willPresentNotification(QVariantMap userInfo)
{
    co_await remoteNotification();
    if (const auto payload = PushNotificationPayload::fromUserInfo(userInfo); payload && m_notificationText)
        co_return m_notificationText(*payload);
    // A type this version does not know still says what the service meant it to.
    const PushAlert carried = PushAlert::fromUserInfo(userInfo);
    if (carried.isEmpty())
        co_return std::nullopt;
    co_return NotificationText{carried.title.isEmpty() ? qtTrId("vorlie") : carried.title, carried.body};
}

void MacAppDelegate::didReceiveNotificationResponse(const QVariantMap &userInfo)
{
    const std::optional<PushNotificationPayload> payload = PushNotificationPayload::fromUserInfo(userInfo);
    if (payload && m_onNotificationTapped)
        m_onNotificationTapped(*payload);
}

MacAppDelegate::~MacAppDelegate()
{
    stopPeriodicRefresh();
}

void MacAppDelegate::applicationWillTerminate()
{
    stopPeriodicRefresh();
}

void MacAppDelegate::stopPeriodicRefresh()
{
    ++m_loopGeneration;
    m_loopRunning = false;
    emit periodicRefreshStopped(); // wakes a loop that is waiting for its next tick
}

void MacAppDelegate::startPeriodicRefresh(std::chrono::milliseconds interval)
{
    stopPeriodicRefresh();
    const quint64 generation = m_loopGeneration;
    m_loopRunning = true;
    QCoro::connect(refreshLoop(generation, interval), this, [] {});
}

QCoro::Task<void> MacAppDelegate::refreshLoop(quint64 generation, std::chrono::milliseconds interval)
{
    const QPointer<MacAppDelegate> alive(this);
    while (alive && m_loopGeneration == generation) {
        co_await qCoro(this, &MacAppDelegate::periodicRefreshStopped, interval);
        if (!alive || m_loopGeneration != generation)
            co_return; // stopped while waiting
        if (m_onPeriodicRefresh)
            co_await m_onPeriodicRefresh();
    }
}

} // namespace vorlie
