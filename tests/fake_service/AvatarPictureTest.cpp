// The stand-in for the avatar service draws a PNG of the asked size.
#include "Client.h"
#include "FakeServiceHost.h"
#include "domain/AvatarImageURL.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::fake::testing;

TEST(AvatarPicture, TheAppsAvatarAddressGivesAPngOfTwiceThePointSize)
{
    fake::FakeServiceHost host;
    QNetworkAccessManager network;
    const QUrl url = avatarImageURL(host.rootUrl(), AvatarConfiguration{}, QStringLiteral("01DEMOQUIL"), 96);
    const Answer answer = QCoro::waitFor(exchange(network, url, "GET", {}, {}));
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(answer.headers.value("content-type"), QByteArray("image/png"));
    const QImage picture = QImage::fromData(answer.body, "PNG");
    EXPECT_EQ(picture.size(), QSize(192, 192));

    QUrl hostile = url;
    hostile.setQuery(QStringLiteral("size=99999"));
    EXPECT_EQ(QCoro::waitFor(exchange(network, hostile, "GET", {}, {})).status, 400);
}
