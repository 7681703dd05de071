#pragma once

#include "FakeServiceHost.h"
#include "KeychainTokenStore.h"
#include "ResultOf.h"
#include "ScriptedReplies.h"
#include "api/APIClient.h"
#include "session/AuthSession.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QUuid>
#include <QCoro/QCoroTask>
#include <gtest/gtest.h>
#include <memory>

namespace vorlie::testing {

using namespace std::chrono_literals;

// A real local service, a real keychain under a service name of its own and
// the production client and session over them, with short time-outs.
class PipelineFixture : public ::testing::Test {
protected:
    static constexpr auto requestTimeout = 800ms;
    static constexpr auto refreshTimeout = 1200ms;

    PipelineFixture()
        : keychainService(QStringLiteral("com.vorlia.app.tokens.test-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
        , keychain(keychainService)
    {
        restart();
    }

    ~PipelineFixture() override
    {
        resultOf(auth->clearTokens());
    }

    // A new session and client over the same keychain, as after an app restart.
    void restart()
    {
        client.reset();
        // The session loads its tokens asynchronously; let that finish before it goes.
        if (auth)
            resultOf(auth->state());
        auth = std::make_unique<AuthSession>(keychain, host.baseUrl(), network, refreshTimeout);
        client = std::make_unique<APIClient>(host.baseUrl(), *auth, network, requestTimeout);
    }

    fake::FakeService &service() { return host.service(); }

    // Signs in with a token pair the service knows.
    fake::TokenPair signIn()
    {
        fake::TokenPair pair = service().issueTokens(fake::ServiceState::seededUserId());
        resultOf(auth->storeTokens(pair.accessToken, pair.refreshToken));
        return pair;
    }

    std::optional<QString> storedToken(const QString &account)
    {
        return resultOf(keychain.read(account));
    }

    static APIRequest get(const QString &path, bool requiresAuth = true)
    {
        return {.path = path, .query = {}, .body = {}, .requiresAuth = requiresAuth};
    }

    fake::FakeServiceHost host;
    QString keychainService;
    KeychainTokenStore keychain;
    QNetworkAccessManager network;
    std::unique_ptr<AuthSession> auth;
    std::unique_ptr<APIClient> client;
};

// The refresh endpoint's answer carrying this pair.
inline QByteArray tokenBody(const fake::TokenPair &pair)
{
    return QJsonDocument(QJsonObject{{"data", QJsonObject{{"accessToken", pair.accessToken}, {"refreshToken", pair.refreshToken}}}})
        .toJson(QJsonDocument::Compact);
}

inline QByteArray errorEnvelope(const char *code, const char *message)
{
    return QByteArray(R"({"error":{"code":")") + code + R"(","message":")" + message + R"("}})";
}

template<typename T>
QString describe(const Result<T> &result)
{
    return result ? QStringLiteral("success") : vorlie::describe(result.error());
}

} // namespace vorlie::testing
