#pragma once

#include "NotificationText.h"
#include "push/PushNotificationPayload.h"

#include <QByteArray>
#include <QObject>
#include <QCoro/QCoroTask>
#include <chrono>
#include <functional>
#include <optional>

namespace vorlie {

// Turns the desktop's application and notification callbacks into plain
// callbacks the composition root fills in, decides what a pushed message
// shows, and owns the periodic refresh loop. Knows nothing about the
// session or the service. (The name is the one the stored and shared parts
// of the system use.)
class MacAppDelegate : public QObject {
    Q_OBJECT
public:
    using AsyncCallback = std::function<QCoro::Task<void>()>;
    using TextCallback = std::function<NotificationText(const PushNotificationPayload &)>;

    explicit MacAppDelegate(QObject *parent = nullptr) : QObject(parent) {}
    ~MacAppDelegate() override;

    // Setting it hands over a token that arrived earlier.
    void setOnDeviceToken(std::function<void(const QByteArray &)> callback);
    void setOnNotificationTapped(std::function<void(const PushNotificationPayload &)> callback);
    void setOnRemoteNotification(AsyncCallback callback) { m_onRemoteNotification = std::move(callback); }
    void setOnPeriodicRefresh(AsyncCallback callback) { m_onPeriodicRefresh = std::move(callback); }
    // Words a message of a known type, once its refresh is done.
    void setNotificationText(TextCallback callback) { m_notificationText = std::move(callback); }

    // Desktop callbacks.
    void didRegisterForRemoteNotifications(const QByteArray &token);
    void didReceiveRemoteNotification();
    // Refreshes, then gives what the caller shows, with sound: a known type
    // in the words of the text callback, any other message (or any message
    // while that callback is not set) in the title and body it carries;
    // nothing when it carries neither.
    QCoro::Task<std::optional<NotificationText>> willPresentNotification(QVariantMap userInfo);
    void didReceiveNotificationResponse(const QVariantMap &userInfo);
    void applicationWillTerminate();

    // Replaces any running loop. The first tick comes one interval after the
    // start; a tick waits for the previous refresh, so ticks never overlap.
    void startPeriodicRefresh(std::chrono::milliseconds interval);
    bool isPeriodicRefreshRunning() const { return m_loopRunning; }

    const std::optional<QByteArray> &deviceToken() const { return m_deviceToken; }

signals:
    // The periodic loop was replaced or ended; a waiting loop ends at once.
    void periodicRefreshStopped();

private:
    void stopPeriodicRefresh();
    QCoro::Task<void> refreshLoop(quint64 generation, std::chrono::milliseconds interval);
    QCoro::Task<void> remoteNotification();

    std::function<void(const QByteArray &)> m_onDeviceToken;
    std::function<void(const PushNotificationPayload &)> m_onNotificationTapped;
    AsyncCallback m_onRemoteNotification;
    AsyncCallback m_onPeriodicRefresh;
    TextCallback m_notificationText;
    std::optional<QByteArray> m_deviceToken;
    quint64 m_loopGeneration = 0; // a new start or a termination ends older loops
    bool m_loopRunning = false;
};

} // namespace vorlie
