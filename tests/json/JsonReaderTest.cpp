#include "json/JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vorlie;
using Kind = JsonError::Kind;

namespace {

QJsonValue qtValue(const QJsonDocument &document)
{
    return document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
}

JsonError::Kind refusal(const QByteArray &text)
{
    return ParsedJson::parse(text).error().kind;
}

QByteArray nested(int depth)
{
    return QByteArray(depth, '[') + QByteArray(depth, ']');
}

} // namespace

TEST(JsonReader, ValidDocumentsReadAsQtReadsThem)
{
    const QByteArray texts[] = {
        "{}",
        "[]",
        " \t\r\n[ ] \n",
        "\xEF\xBB\xBF{\"bom\": true}",
        R"([null, true, false, "", "text", {}, [], [[]], {"a": {"b": [1, {"c": null}]}}])",
        R"([0, -0, 7, -12, 1.5, -0.25, 1e3, 1E-2, 2.5e+2, 1.0, -0.0, 0e-400, 1e308, 5e-324])",
        R"([9007199254740993, 9223372036854775807, -9223372036854775808, 9223372036854775808,
            -9223372036854775809, 123456789012345678901234567890, 1e19])",
        R"(["\"\\\/\b\f\n\r\t", "\u00e9\u20AC", "\ud83d\ude00", "\u0000", "a\u0061"])",
        "[\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBF \x7F\"]",
        R"({"": 1, "a b": 2, "\u0061": 3})",
        R"({"b": true, "a": null, "b": false, "\u0061": 7})",
        "[\"\\n\xEF\xBB\xBF\"]",
    };
    for (const QByteArray &text : texts) {
        SCOPED_TRACE(text.toStdString());
        QJsonParseError error{};
        const QJsonDocument expected = QJsonDocument::fromJson(text, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << "fixture must be valid for Qt";
        const ParsedJson parsed = ParsedJson::parse(text);
        ASSERT_TRUE(parsed.isValid()) << int(parsed.error().kind) << " at " << parsed.error().offset;
        EXPECT_EQ(parsed.root().toQJsonValue(), qtValue(expected));
    }
}

TEST(JsonReader, MalformedTextIsRefusedWithItsReason)
{
    const std::pair<Kind, QList<QByteArray>> cases[] = {
        {Kind::Syntax, {"", "   ", "1", "\"text\"", "null", "\xEF\xBB\xBF", "\x0C[]", "[", "[1,]", "[,1]", "[1 2]", "{\"a\"}", "{\"a\":}",
                        "{a:1}", "{\"a\":1,}", "[tru]", "[nulls]", "[] x", "[]]", QByteArray("[]\0", 3), "[\"open", "[01]", "[+1]"}},
        {Kind::BadNumber, {"[-]", "[1.]", "[.5]", "[-.5]", "[1.e5]", "[1e]", "[1e+]"}},
        {Kind::NumberOutOfRange, {"[1e400]", "[-1e400]", "[1e-400]"}},
        {Kind::ControlCharacter, {"[\"a\x01\"]", "[\"a\tb\"]", QByteArray("[\"\0\"]", 5)}},
        {Kind::BadEscape, {"[\"\\a\"]", "[\"\\U0041\"]", "[\"\\u12\"]", "[\"\\u12g4\"]"}},
        {Kind::UnpairedSurrogate, {"[\"\\ud800\"]", "[\"\\udc00\"]", "[\"\\ud800\\u0041\"]", "[\"\\ude00\\ud83d\"]"}},
        {Kind::InvalidUtf8, {"[\"\xFF\"]", "[\"\xC0\x80\"]", "[\"\xE0\x80\xAF\"]", "[\"\xED\xA0\x80\"]", "[\"\xF4\x90\x80\x80\"]",
                             "[\"\xE2\x82\"]", "[\"\x80\"]"}},
    };
    for (const auto &[kind, texts] : cases) {
        for (const QByteArray &text : texts) {
            SCOPED_TRACE(text.toPercentEncoding().toStdString());
            const ParsedJson parsed = ParsedJson::parse(text);
            EXPECT_FALSE(parsed.isValid());
            EXPECT_EQ(parsed.error().kind, kind);
            EXPECT_TRUE(parsed.root().isUndefined());
        }
    }
}

TEST(JsonReader, NestingAndSizeAreBounded)
{
    EXPECT_TRUE(ParsedJson::parse(nested(ParsedJson::maxDepth)).isValid());
    const ParsedJson tooDeep = ParsedJson::parse(nested(ParsedJson::maxDepth + 1));
    EXPECT_EQ(tooDeep.error().kind, Kind::TooDeep);
    EXPECT_EQ(tooDeep.error().offset, ParsedJson::maxDepth);

    // Far beyond any call stack, and never closed.
    EXPECT_EQ(refusal(QByteArray(qsizetype{4} * 1024 * 1024, '[')), Kind::TooDeep);
    QByteArray objects;
    for (int i = 0; i < 100000; ++i)
        objects += "{\"a\":";
    EXPECT_EQ(refusal(objects), Kind::TooDeep);

    QByteArray huge = "[\"" + QByteArray(ParsedJson::maxBytes, 'x') + "\"]";
    EXPECT_EQ(refusal(huge), Kind::TooLarge);
    huge.resize(ParsedJson::maxBytes - 2);
    huge += "\"]";
    EXPECT_TRUE(ParsedJson::parse(huge).isValid());
}

// Read as a whole, as Qt does: among the valid documents.
TEST(JsonReader, LastOfRepeatedKeysWins)
{
    const ParsedJson parsed = ParsedJson::parse(R"({"b": true, "a": null, "b": false, "\u0061": 7})");
    ASSERT_TRUE(parsed.isValid());
    EXPECT_TRUE(parsed.root().value(QLatin1StringView("b")).isBool());
    EXPECT_FALSE(parsed.root().value(QLatin1StringView("b")).toBool());
    EXPECT_EQ(parsed.root().value(QLatin1StringView("a")).toInteger(), 7);
}

// Whole numbers read as integers in every notation and never wrap; others keep Qt's double.
TEST(JsonReader, NumbersKeepQtsIntegerAndDoubleForms)
{
    constexpr auto none = std::nullopt;
    const struct {
        const char *text;
        std::optional<qint64> integer;
        std::optional<double> real = std::nullopt;
    } rows[] = {
        {"9223372036854775807", std::numeric_limits<qint64>::max()}, {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", none, 9223372036854775808.0}, {"9007199254740993", 9007199254740993LL}, {"1e3", 1000},
        {"-12", -12}, {"-0.0", 0}, {"1.5", none, 1.5}, {"2e-1", none, 0.2}, {"1e19", none}, {"1e300", none},
        {"\"7\"", none, 0.0}, {"null", none},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const ParsedJson parsed = ParsedJson::parse(QByteArray("[") + row.text + "]");
        ASSERT_TRUE(parsed.isValid());
        const JsonView n = *parsed.root().begin();
        EXPECT_EQ(n.toInteger(), row.integer);
        if (row.real) {
            EXPECT_DOUBLE_EQ(n.toDouble(), *row.real);
        }
        EXPECT_EQ(n.isDouble(), row.text[0] == '-' || (row.text[0] >= '0' && row.text[0] <= '9'));
    }
}

TEST(JsonReader, StringsUnescapeOnlyWhenAsked)
{
    const ParsedJson parsed = ParsedJson::parse(R"(["plain", "s\u0061d", "tab\there", "\ud83d\ude00x", 5])");
    ASSERT_TRUE(parsed.isValid());
    std::vector<JsonView> s(parsed.root().begin(), parsed.root().end());
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].rawUtf8(), QByteArrayView("plain"));
    EXPECT_TRUE(s[0].equals(QLatin1StringView("plain")));
    EXPECT_FALSE(s[0].equals(QLatin1StringView("plai")));
    EXPECT_FALSE(s[1].rawUtf8());
    EXPECT_TRUE(s[1].equals(QLatin1StringView("sad")));
    EXPECT_EQ(s[1].toString(), QStringLiteral("sad"));
    EXPECT_EQ(s[2].toString(), QStringLiteral("tab\there"));
    EXPECT_EQ(s[3].toString(), QString::fromUtf8("\xF0\x9F\x98\x80x"));
    EXPECT_FALSE(s[4].isString());

    // A byte order mark inside a string is a character like any other, kept
    // in values, keys and escaped strings alike. Qt's toString() drops one
    // that starts a string without escapes, so a text that starts with two
    // would lose one each time it is stored and read again.
    const QByteArray markedText = "[\"\xEF\xBB\xBF\xEF\xBB\xBFsad\", \"\\n\xEF\xBB\xBF\", {\"\xEF\xBB\xBFkey\": 1}]";
    const QJsonArray qtMarked = QJsonDocument::fromJson(markedText).array();
    const ParsedJson marked = ParsedJson::parse(markedText);
    std::vector<JsonView> m(marked.root().begin(), marked.root().end());
    ASSERT_EQ(m.size(), 3u);
    const QString twoMarks = QStringLiteral("\uFEFF\uFEFFsad");
    EXPECT_EQ(m[0].rawUtf8(), QByteArrayView("\xEF\xBB\xBF\xEF\xBB\xBFsad"));
    EXPECT_FALSE(m[0].equals(QLatin1StringView("sad")));
    EXPECT_EQ(m[0].toString(), twoMarks);
    EXPECT_EQ(qtMarked.at(0).toString(), twoMarks.mid(1));
    const QByteArray written = QJsonDocument(QJsonArray{m[0].toString()}).toJson(QJsonDocument::Compact);
    EXPECT_EQ((*ParsedJson::parse(written).root().begin()).toString(), twoMarks);
    EXPECT_EQ(m[1].toString(), qtMarked.at(1).toString());
    EXPECT_EQ(m[1].toString().size(), 2);
    EXPECT_TRUE(m[2].value(QLatin1StringView("key")).isUndefined());
    EXPECT_TRUE(qtMarked.at(2).toObject().value(QLatin1StringView("key")).isUndefined());
    EXPECT_FALSE(s[4].equals(QLatin1StringView("5")));
    EXPECT_TRUE(s[4].toString().isEmpty());
}

TEST(JsonReader, ViewsOutliveAMoveAndMissingValuesAreUndefined)
{
    ParsedJson parsed = ParsedJson::parse(R"({"list": [1, [2, 3], {"x": 4}, 5], "text": "t"})");
    const JsonView list = parsed.root().value(QLatin1StringView("list"));
    const ParsedJson moved = std::move(parsed);
    EXPECT_EQ(list.size(), 4);
    EXPECT_EQ((*std::next(list.begin(), 3)).toInteger(), 5);
    EXPECT_EQ(moved.root().value(QLatin1StringView("text")).toString(), QStringLiteral("t"));

    EXPECT_TRUE(moved.root().value(QLatin1StringView("absent")).isUndefined());
    EXPECT_TRUE(list.value(QLatin1StringView("x")).isUndefined());
    EXPECT_EQ(moved.root().size(), 0);
    EXPECT_TRUE(JsonView().value(QLatin1StringView("x")).isUndefined());
    EXPECT_EQ(JsonView().size(), 0);
    EXPECT_TRUE(JsonView().toQJsonValue().isUndefined());
}
