#pragma once

#include <QQmlNetworkAccessManagerFactory>

namespace vorlie {

// The network QML pictures load through: no cookies, no credentials, no
// redirect to another host, and a bounded time per transfer.
class AvatarNetworkFactory : public QQmlNetworkAccessManagerFactory {
public:
    QNetworkAccessManager *create(QObject *parent) override;
};

} // namespace vorlie
