#include "StatusCatalog.h"

#include <QHash>
#include <QtGlobal>

#include <array>

namespace vorlie::BuiltInStatusCatalog {
namespace {

using C = StatusCategory;
using V = StatusVisualState;

struct Row {
    const char *key;
    const char16_t *emoji; // nullptr: the entry has none anywhere
    StatusCategory category;
    StatusVisualState visualState;
    const char *localizationKey;
};

constexpr std::array<Row, 21> table{{
    //% "Tired"
    {"tired", u"\U0001F4A4", C::mood, V::sleepy, QT_TRID_NOOP("status.tired.text")},
    //% "Miss you"
    {"miss_you", u"\U0001FAF6", C::relationship, V::missing, QT_TRID_NOOP("status.miss_you.text")},
    //% "Love you"
    {"love_you", u"\u2764\uFE0F", C::relationship, V::loving, QT_TRID_NOOP("status.love_you.text")},
    //% "Shopping"
    {"shopping", u"\U0001F6CD\uFE0F", C::activity, V::shopping, QT_TRID_NOOP("status.shopping.text")},
    //% "Need cash"
    {"need_cash", u"\U0001F4B8", C::activity, V::neutral, QT_TRID_NOOP("status.need_cash.text")},
    //% "Working"
    {"working", u"\U0001F4BC", C::activity, V::working, QT_TRID_NOOP("status.working.text")},
    //% "Chilling"
    {"chilling", u"\U0001F37F", C::activity, V::relaxed, QT_TRID_NOOP("status.chilling.text")},
    //% "Stressed"
    {"stressed", u"\U0001F635", C::mood, V::stressed, QT_TRID_NOOP("status.stressed.text")},
    //% "Out"
    {"out", u"\U0001F378", C::location, V::out, QT_TRID_NOOP("status.out.text")},
    //% "Home"
    {"home", u"\U0001F3E0", C::location, V::relaxed, QT_TRID_NOOP("status.home.text")},
    //% "On my way"
    {"on_my_way", u"\U0001F697", C::location, V::active, QT_TRID_NOOP("status.on_my_way.text")},
    //% "Thinking of you"
    {"thinking_of_you", u"\U0001F440", C::relationship, V::thinking, QT_TRID_NOOP("status.thinking_of_you.text")},
    //% "Busy"
    {"busy", nullptr, C::activity, V::neutral, QT_TRID_NOOP("status.busy.text")},
    //% "Call me"
    {"call_me", nullptr, C::relationship, V::thinking, QT_TRID_NOOP("status.call_me.text")},
    //% "Bored"
    {"bored", nullptr, C::mood, V::neutral, QT_TRID_NOOP("status.bored.text")},
    //% "Hungry"
    {"hungry", nullptr, C::mood, V::hungry, QT_TRID_NOOP("status.hungry.text")},
    //% "Gym"
    {"gym", nullptr, C::activity, V::active, QT_TRID_NOOP("status.gym.text")},
    //% "Studying"
    {"studying", nullptr, C::activity, V::studying, QT_TRID_NOOP("status.studying.text")},
    //% "Good mood"
    {"good_mood", nullptr, C::mood, V::happy, QT_TRID_NOOP("status.good_mood.text")},
    //% "Bad mood"
    {"bad_mood", nullptr, C::mood, V::sad, QT_TRID_NOOP("status.bad_mood.text")},
    //% "Need a hug"
    {"need_hug", u"\U0001FAC2", C::relationship, V::missing, QT_TRID_NOOP("status.need_hug.text")},
}};

// Function-local statics: built once on first use, safe when that first use
// happens on several threads at once.
const std::vector<Entry> &allEntries()
{
    static const std::vector<Entry> list = [] {
        std::vector<Entry> out;
        out.reserve(table.size());
        for (const Row &row : table) {
            Entry e;
            e.key = QString::fromLatin1(row.key);
            if (row.emoji)
                e.emoji = QString::fromUtf16(row.emoji);
            e.category = row.category;
            e.visualState = row.visualState;
            e.localizationKey = QString::fromLatin1(row.localizationKey);
            out.push_back(std::move(e));
        }
        return out;
    }();
    return list;
}

const Row *findRow(QStringView key)
{
    static const QHash<QString, qsizetype> index = [] {
        QHash<QString, qsizetype> out;
        for (qsizetype i = 0; i < qsizetype(table.size()); ++i)
            out.insert(QString::fromLatin1(table[size_t(i)].key), i);
        return out;
    }();
    const auto it = index.constFind(key.toString());
    return it == index.constEnd() ? nullptr : &table[size_t(*it)];
}

} // namespace

const std::vector<Entry> &entries()
{
    return allEntries();
}

std::optional<Entry> entry(QStringView key)
{
    const Row *row = findRow(key);
    if (!row)
        return std::nullopt;
    return allEntries()[size_t(row - table.data())];
}

QString localizedText(const QString &key, const std::optional<QString> &fallback)
{
    if (const Row *row = findRow(key))
        return qtTrId(row->localizationKey);
    return fallback.value_or(key);
}

std::vector<StatusCatalogItem> items(const QSet<QString> &favoriteKeys)
{
    std::vector<StatusCatalogItem> out;
    out.reserve(table.size());
    for (const Entry &e : allEntries()) {
        StatusCatalogItem item;
        item.key = e.key;
        item.text = localizedText(e.key);
        item.emoji = e.emoji;
        item.category = e.category;
        item.visualState = e.visualState;
        item.isFavorite = favoriteKeys.contains(e.key);
        out.push_back(std::move(item));
    }
    return out;
}

} // namespace vorlie::BuiltInStatusCatalog

namespace vorlie {

QString displayText(const Status &status)
{
    if (status.statusKey == QLatin1StringView("custom"))
        return status.text.value_or(QString());
    return BuiltInStatusCatalog::localizedText(status.statusKey.value_or(QString()), status.text);
}

} // namespace vorlie
