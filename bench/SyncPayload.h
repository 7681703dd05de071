#pragma once

#include <QByteArray>
#include <QString>

namespace vorlie::bench {

// A realistic "sync" answer ({"data": snapshot}) with the given number of
// connections, each person with a full avatar and every optional field set.
inline QByteArray syncBody(int connections)
{
    const auto user = [](const QString &id, const QString &name) {
        return QStringLiteral(R"({"id":"%1","displayName":"%2","username":"%3","avatar":{"skinTone":"warm_2","hairStyle":"short_2",)"
                              R"("hairColor":"black","outfit":"hoodie","outfitColor":"navy","accessory":"none","expression":"default","sex":"male"},)"
                              R"("email":"%3@example.com","locale":"en","timezone":"Europe/Vienna","notifyStatusReminder":true,)"
                              R"("notifyPartnerStatusChanged":true,"notifyAutomationStatusChanged":false,)"
                              R"("lastStatusAt":"2026-12-01T08:00:00Z","createdAt":"2026-01-15T10:30:00Z"})")
            .arg(id, name, name.toLower());
    };
    const QString status = QStringLiteral(R"({"id":"01STATUS%1","statusKey":"tired","text":"Tired","emoji":"💤","category":"mood",)"
                                          R"("visualState":"sleepy","source":"manual","createdAt":"2026-12-01T08:00:00Z",)"
                                          R"("freshness":"fresh","isExpired":false})");
    QString list;
    for (int i = 0; i < connections; ++i) {
        if (i)
            list += u',';
        list += QStringLiteral(R"({"id":"01CONN%1","state":"accepted","person":%2,"createdAt":"2026-02-01T09:00:00Z","acceptedAt":"2026-02-01T09:05:00+01:00"})")
                    .arg(i)
                    .arg(user(QStringLiteral("01PERSON%1").arg(i), QStringLiteral("Person%1").arg(i)));
    }
    const QString snapshot = QStringLiteral(R"({"user":%1,"mainPerson":{"connectionId":"01CONN0","person":%2,"selectedAt":"2026-02-02T09:00:00Z"},)"
                                            R"("mainPersonStatus":%3,"ownStatus":%4,"connections":[%5],"serverTime":"2026-12-07T10:00:00Z"})")
                                 .arg(user(QStringLiteral("01ME"), QStringLiteral("Quorrin")),
                                      user(QStringLiteral("01PERSON0"), QStringLiteral("Person0")), status.arg(1), status.arg(2), list);
    return QStringLiteral(R"({"data":%1})").arg(snapshot).toUtf8();
}

} // namespace vorlie::bench
