#pragma once

#include "support/DecodeJson.h"
#include "json/JsonCodec.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QTranslator>
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace vorlie::test {

inline QJsonValue parse(const char *text)
{
    return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().at(0);
}

inline QJsonObject parseObject(const char *text)
{
    return QJsonDocument::fromJson(text).object();
}

template<typename T>
std::optional<T> decode(const QJsonObject &object)
{
    return decodeJson<T>(object);
}

template<typename T>
std::optional<T> roundTrip(const T &value)
{
    // Through text, as the cache and the service see it.
    const QByteArray text = QJsonDocument(JsonCodec<T>::encode(value).toObject()).toJson(QJsonDocument::Compact);
    return JsonCodec<T>::decode(ParsedJson::parse(text).root());
}

inline QJsonObject without(QJsonObject object, const char *key)
{
    object.remove(QLatin1StringView(key));
    return object;
}

inline QJsonObject with(QJsonObject object, const char *key, const QJsonValue &value)
{
    object.insert(QLatin1StringView(key), value);
    return object;
}

// Minimal valid forms of the records, to vary one key at a time.
inline QJsonObject avatarJson()
{
    return parseObject(R"({"skinTone":"warm_1","hairStyle":"short_1","hairColor":"black","outfit":"tshirt",)"
                       R"("outfitColor":"black","accessory":"none","expression":"default","sex":"male"})");
}

inline QJsonObject userJson()
{
    return QJsonObject{{"id", "u1"}, {"displayName", "Ada"}, {"avatar", avatarJson()}, {"createdAt", "2026-01-02T03:04:05Z"}};
}

inline QJsonObject statusJson()
{
    return parseObject(R"({"id":"s1","statusKey":"tired","text":"Tired","emoji":"💤","category":"mood",)"
                       R"("visualState":"sleepy","source":"manual","createdAt":"2026-12-01T08:00:00Z",)"
                       R"("freshness":"fresh","isExpired":false})");
}

// Every key set, each to a value of its own, so a swap shows.
inline QJsonObject fullUserJson()
{
    QJsonObject user = userJson();
    const QJsonObject rest{{"username", "zoe"}, {"email", "zoe@example.test"}, {"locale", "de"}, {"timezone", "Europe/Berlin"},
                           {"lastStatusAt", "2026-05-06T07:08:09Z"}, {"notifyStatusReminder", false},
                           {"notifyPartnerStatusChanged", true}, {"notifyAutomationStatusChanged", false}};
    for (auto it = rest.constBegin(); it != rest.constEnd(); ++it)
        user.insert(it.key(), it.value());
    return user;
}

// A record missing any of these keys, or holding null there, is refused.
template<typename T>
void expectRequired(const QJsonObject &valid, std::initializer_list<const char *> keys)
{
    ASSERT_TRUE(decode<T>(valid)) << "fixture must be valid";
    for (const char *key : keys) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(decode<T>(without(valid, key)));
        EXPECT_FALSE(decode<T>(with(valid, key, QJsonValue::Null)));
    }
}

// Missing and null mean the same absent value, which is left out when written
// and survives a round trip.
template<typename T>
void expectOptional(const QJsonObject &valid, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        SCOPED_TRACE(key);
        const auto missing = decode<T>(without(valid, key));
        ASSERT_TRUE(missing);
        EXPECT_EQ(decode<T>(with(valid, key, QJsonValue::Null)), missing);
        EXPECT_NE(decode<T>(valid), missing);
        EXPECT_FALSE(JsonCodec<T>::encode(*missing).toObject().contains(QLatin1StringView(key)));
        EXPECT_EQ(roundTrip(*missing), missing);
    }
}

// Stands in for the compiled text tables: answers the ids it knows and lets
// every other lookup fall through, as a real table with a missing entry does.
class FakeTextTable : public QTranslator {
public:
    explicit FakeTextTable(QHash<QByteArray, QString> texts)
        : m_texts(std::move(texts))
    {
        QCoreApplication::installTranslator(this);
    }
    ~FakeTextTable() override { QCoreApplication::removeTranslator(this); }

    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *sourceText, const char *, int) const override
    {
        return m_texts.value(QByteArray(sourceText));
    }

private:
    QHash<QByteArray, QString> m_texts;
};

} // namespace vorlie::test
