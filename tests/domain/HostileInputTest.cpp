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
// the whole record, whichever field it lands in. Nor is anything but an
// object a record.
template<typename T>
void expectHostileValuesFail(const QJsonObject &valid)
{
    ASSERT_TRUE(decode<T>(valid)) << "fixture must be valid";
    for (const QJsonValue &bad : hostileValues()) {
        if (!bad.isObject()) {
            EXPECT_FALSE(decodeJson<T>(bad));
        }
    }
    EXPECT_FALSE(decodeJson<T>(QJsonValue()));
    EXPECT_FALSE(decodeJson<T>(QJsonValue(QJsonValue::Undefined)));
    EXPECT_FALSE(decodeJson<T>(QJsonObject{}));
    EXPECT_FALSE(decodeJson<T>(deeplyNested(500)));
    for (auto it = valid.constBegin(); it != valid.constEnd(); ++it) {
        for (const QJsonValue &bad : hostileValues()) {
            if (bad.type() == it->type())
                continue;
            SCOPED_TRACE(it.key().toStdString() + " <- " + QJsonDocument(QJsonArray{bad}).toJson(QJsonDocument::Compact).left(60).toStdString());
            EXPECT_FALSE(decode<T>(with(valid, it.key().toUtf8().constData(), bad)));
        }
    }
}

} // namespace

TEST(HostileInput, MistypedFieldsNonObjectsAndDeepNestingFailEveryRecord)
{
    expectHostileValuesFail<AvatarConfiguration>(avatarJson());
    expectHostileValuesFail<User>(fullUserJson());
    expectHostileValuesFail<Connection>(
        QJsonObject{{"id", "c"}, {"state", "blocked"}, {"person", userJson()}, {"createdAt", "2026-01-01T00:00:00Z"},
                    {"acceptedAt", "2026-01-01T00:00:00Z"}});
    expectHostileValuesFail<MainPerson>(
        QJsonObject{{"connectionId", "c"}, {"person", userJson()}, {"selectedAt", "2026-01-01T00:00:00Z"}});
    expectHostileValuesFail<Status>(statusJson());
    expectHostileValuesFail<StatusCatalogItem>(
        QJsonObject{{"key", "k"}, {"text", "t"}, {"emoji", "e"}, {"category", "mood"}, {"visualState", "sad"}, {"isFavorite", false}});
    expectHostileValuesFail<Announcement>(QJsonObject{{"id", "a"}, {"type", "warning"}, {"message", "m"}});
}
