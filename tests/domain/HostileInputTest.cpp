#include "DomainFixtures.h"
#include "domain/Announcement.h"
#include "domain/Connection.h"
#include "domain/Status.h"
#include "domain/StatusCatalogItem.h"
#include "domain/User.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vorlie;
using namespace vorlie::test;

namespace {

QJsonValue deeplyNested(int depth)
{
    QJsonValue v = QJsonObject{{"id", "x"}};
    for (int i = 0; i < depth; ++i)
        v = (i % 2) ? QJsonValue(QJsonArray{v}) : QJsonValue(QJsonObject{{"person", v}});
    return v;
}

QList<QJsonValue> hostileValues()
{
    return {QJsonValue(1e308), QJsonValue(-1e308), QJsonValue(std::numeric_limits<qint64>::max()), QJsonValue(-0.0),
            QJsonValue(true), QJsonValue(QJsonArray{1, "a", QJsonValue::Null}), QJsonValue(QJsonObject{{"k", "v"}}),
            QJsonValue(QStringLiteral("\uFFFD\u0000 not-a-value")), deeplyNested(200)};
}

// Every field has exactly one JSON type; a value of any other type must fail
// the whole record, whichever field it lands in.
template<typename T>
void expectEveryMistypedFieldFails(const QJsonObject &valid)
{
    ASSERT_TRUE(decode<T>(valid)) << "fixture must be valid";
    for (auto it = valid.constBegin(); it != valid.constEnd(); ++it) {
        for (const QJsonValue &bad : hostileValues()) {
            if (bad.type() == it->type())
                continue;
            SCOPED_TRACE(it.key().toStdString() + " <- " + QJsonDocument(QJsonArray{bad}).toJson(QJsonDocument::Compact).left(60).toStdString());
            EXPECT_FALSE(decode<T>(with(valid, it.key().toUtf8().constData(), bad)));
        }
    }
}

template<typename T>
void expectNonObjectsRefused()
{
    for (const QJsonValue &bad : hostileValues()) {
        if (!bad.isObject()) {
            EXPECT_FALSE(decodeJson<T>(bad));
        }
    }
    EXPECT_FALSE(decodeJson<T>(QJsonValue()));
    EXPECT_FALSE(decodeJson<T>(QJsonValue(QJsonValue::Undefined)));
    EXPECT_FALSE(decodeJson<T>(QJsonObject{}));
    EXPECT_FALSE(decodeJson<T>(deeplyNested(500)));
}

} // namespace

TEST(HostileInput, MistypedFieldsFailEveryRecord)
{
    expectEveryMistypedFieldFails<AvatarConfiguration>(avatarJson());
    expectEveryMistypedFieldFails<User>(fullUserJson());
    expectEveryMistypedFieldFails<Connection>(
        QJsonObject{{"id", "c"}, {"state", "blocked"}, {"person", userJson()}, {"createdAt", "2026-01-01T00:00:00Z"},
                    {"acceptedAt", "2026-01-01T00:00:00Z"}});
    expectEveryMistypedFieldFails<MainPerson>(
        QJsonObject{{"connectionId", "c"}, {"person", userJson()}, {"selectedAt", "2026-01-01T00:00:00Z"}});
    expectEveryMistypedFieldFails<Status>(statusJson());
    expectEveryMistypedFieldFails<StatusCatalogItem>(
        QJsonObject{{"key", "k"}, {"text", "t"}, {"emoji", "e"}, {"category", "mood"}, {"visualState", "sad"}, {"isFavorite", false}});
    expectEveryMistypedFieldFails<Announcement>(QJsonObject{{"id", "a"}, {"type", "warning"}, {"message", "m"}});
}

TEST(HostileInput, NonObjectsAndDeepNestingAreRefused)
{
    expectNonObjectsRefused<AvatarConfiguration>();
    expectNonObjectsRefused<User>();
    expectNonObjectsRefused<Connection>();
    expectNonObjectsRefused<MainPerson>();
    expectNonObjectsRefused<Status>();
    expectNonObjectsRefused<StatusCatalogItem>();
    expectNonObjectsRefused<Announcement>();
}

TEST(HostileInput, MalformedTextNeverCrashesTheDecoders)
{
    const QByteArray valid = QJsonDocument(statusJson()).toJson(QJsonDocument::Compact);
    QByteArray brokenUtf8 = valid;
    brokenUtf8.replace("Tired", "Ti\xff\xfe\xc3rd");
    for (const QByteArray &text : {brokenUtf8, valid.left(valid.size() / 2), QByteArray("\x00\x01", 2),
                                   QByteArray(100000, '['), QByteArray("{\"id\":1e999999}")}) {
        const ParsedJson document = ParsedJson::parse(text);
        const auto status = JsonCodec<Status>::decode(document.root());
        if (status) {
            EXPECT_EQ(status->id, QStringLiteral("s1"));
        }
    }
}
