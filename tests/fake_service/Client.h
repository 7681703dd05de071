#pragma once

// A plain QNetworkAccessManager against a FakeServiceHost: the service as any
// HTTP client sees it, without the application's request pipeline.
#include "FakeServiceHost.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QCoro/QCoroNetworkReply>
#include <QCoro/QCoroTask>
#include <gtest/gtest.h>

#include <memory>

namespace vorlie::fake::testing {

struct Answer {
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QMap<QByteArray, QByteArray> headers; // lower-case names

    QString errorCode() const
    {
        return QJsonDocument::fromJson(body).object().value("error").toObject().value("code").toString();
    }
};

using Headers = QList<QPair<QByteArray, QByteArray>>;

inline QCoro::Task<Answer> exchange(QNetworkAccessManager &network, QUrl url, QByteArray method, QByteArray body, Headers headers)
{
    QNetworkRequest request(url);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    if (!body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    const std::unique_ptr<QNetworkReply> reply(network.sendCustomRequest(request, method, body));
    co_await qCoro(reply.get()).waitForFinished();
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.error = reply->error();
    answer.body = reply->readAll();
    for (const auto &[name, value] : reply->rawHeaderPairs())
        answer.headers.insert(name.toLower(), value);
    co_return answer;
}

inline QUrl apiUrl(const FakeServiceHost &host, const QString &path)
{
    return QUrl(host.baseUrl().toString() + u'/' + path);
}

// A fake service and a plain client of it.
class FakeServiceTest : public ::testing::Test {
protected:
    Answer call(const QByteArray &method, const QString &path, const QByteArray &body = {}, const Headers &headers = {})
    {
        return QCoro::waitFor(exchange(network, apiUrl(host, path), method, body, headers));
    }

    FakeServiceHost host;
    QNetworkAccessManager network;
};

} // namespace vorlie::fake::testing
