#include "AvatarNetwork.h"

#include "api/IdleClosingNetwork.h"

#include <QNetworkCookie>
#include <QNetworkCookieJar>

namespace vorlie {
namespace {

// Pictures are public: a cookie set by the picture host is never kept or sent.
class NoCookies : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

constexpr int transferTimeoutMs = 20'000;

} // namespace

QNetworkAccessManager *AvatarNetworkFactory::create(QObject *parent)
{
    auto *network = new IdleClosingNetwork(parent);
    network->setCookieJar(new NoCookies(network));
    network->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
    network->setTransferTimeout(transferTimeoutMs);
    // Nobody answers an authentication request, so the transfer fails.
    return network;
}

} // namespace vorlie
