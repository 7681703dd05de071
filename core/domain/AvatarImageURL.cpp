#include "AvatarImageURL.h"

#include "AvatarOptions.h"

#include <QStringList>

namespace vorlie {

using namespace Qt::StringLiterals;

namespace {

class QueryBuilder {
public:
    void add(QLatin1StringView name, const QString &value)
    {
        m_items.append(QString(name) + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(value)));
    }
    QString text() const { return m_items.join(u'&'); }

private:
    QStringList m_items;
};

} // namespace

QUrl avatarImageURL(const QUrl &serviceBase, const AvatarConfiguration &avatar, const QString &seed, int points)
{
    QueryBuilder query;
    query.add("seed"_L1, seed);
    // Widened so that no point size can overflow.
    query.add("size"_L1, QString::number(qint64{points} * 2));
    query.add("backgroundColor"_L1, u"transparent"_s);
    query.add("skinColor"_L1, serviceColor(avatar.skinTone));
    query.add("hairColor"_L1, serviceColor(avatar.hairColor));
    query.add("clothing"_L1, serviceClothing(avatar.outfit));
    query.add("clothesColor"_L1, serviceColor(avatar.outfitColor));
    query.add("eyes"_L1, u"default"_s);
    query.add("eyebrows"_L1, u"defaultNatural"_s);
    query.add("mouth"_L1, serviceMouth(avatar.expression));

    // A beanie hides the hair, so the hair style is not sent at all.
    if (avatar.accessory == Accessory::beanie) {
        query.add("top"_L1, u"winterHat02"_s);
        query.add("hatColor"_L1, serviceColor(avatar.outfitColor));
    } else {
        query.add("top"_L1, serviceTopStyle(avatar.hairStyle));
    }

    // Earrings and headphones are not drawn by the service.
    switch (avatar.accessory) {
    case Accessory::glasses:
        query.add("accessories"_L1, u"prescription02"_s);
        query.add("accessoriesProbability"_L1, u"100"_s);
        break;
    case Accessory::sunglasses:
        query.add("accessories"_L1, u"sunglasses"_s);
        query.add("accessoriesProbability"_L1, u"100"_s);
        break;
    case Accessory::none:
    case Accessory::earrings:
    case Accessory::headphones:
    case Accessory::beanie:
        query.add("accessoriesProbability"_L1, u"0"_s);
        break;
    }

    if (avatar.sex == Sex::male) {
        query.add("facialHair"_L1, u"beardLight"_s);
        query.add("facialHairProbability"_L1, u"50"_s);
    } else {
        query.add("facialHairProbability"_L1, u"0"_s);
    }

    QUrl url = serviceBase;
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path + "/9.x/avataaars/png"_L1);
    // Already encoded; StrictMode keeps "%2B", "%26" and "%23" as they are.
    url.setQuery(query.text(), QUrl::StrictMode);
    return url;
}

} // namespace vorlie
