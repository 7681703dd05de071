#include "JsonView.h"

#include "JsonEscapes_p.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <cstring>

namespace vorlie {

using json::Node;

namespace {

constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

// Every character, a leading U+FEFF too, which QString::fromUtf8 drops.
QString fromUtf8KeepingMark(QByteArrayView utf8)
{
    if (!utf8.startsWith(byteOrderMark))
        return QString::fromUtf8(utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

// The checked text of a string with escapes, every character kept.
QString unescape(QByteArrayView text)
{
    QString out;
    out.reserve(text.size());
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p != end) {
        const char *run = p;
        while (p != end && *p != '\\')
            ++p;
        if (p != run)
            out.append(fromUtf8KeepingMark(QByteArrayView(run, p - run)));
        if (p == end)
            break;
        if (const char c = json::simpleEscape(p[1])) {
            out.append(QLatin1Char(c));
            p += 2;
            continue;
        }
        // Surrogate pairs arrive as two escapes, each a UTF-16 unit.
        out.append(QChar(static_cast<char16_t>(json::hexUnit(p + 2))));
        p += 6;
    }
    return out;
}

bool sameBytes(QByteArrayView text, QLatin1StringView ascii)
{
    return text.size() == ascii.size() && std::memcmp(text.data(), ascii.data(), static_cast<std::size_t>(text.size())) == 0;
}

} // namespace

QByteArrayView JsonView::bytes() const
{
    return {m_text + node().offset, static_cast<qsizetype>(node().extent())};
}

double JsonView::toDouble() const
{
    if (!isDouble())
        return 0;
    const QByteArrayView text = bytes();
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value); // checked while parsing
    return value;
}

std::optional<qint64> JsonView::toInteger() const
{
    if (!isDouble())
        return std::nullopt;
    if (node().flag()) {
        const QByteArrayView text = bytes();
        qint64 value = 0;
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc())
            return value;
    }
    // Qt turns any whole double in qint64's range into an integer, 1e3 too.
    const double d = toDouble();
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (std::trunc(d) != d || d < -limit || d >= limit)
        return std::nullopt;
    return static_cast<qint64>(d);
}

QString JsonView::toString() const
{
    if (!isString())
        return {};
    return node().flag() ? unescape(bytes()) : fromUtf8KeepingMark(bytes());
}

std::optional<QByteArrayView> JsonView::rawUtf8() const
{
    if (!isString() || node().flag())
        return std::nullopt;
    return bytes();
}

bool JsonView::equals(QLatin1StringView ascii) const
{
    if (const auto utf8 = rawUtf8())
        return sameBytes(*utf8, ascii);
    return isString() && toString() == ascii;
}

bool JsonView::escapedKeyIs(QLatin1StringView ascii) const
{
    return unescape(bytes()) == ascii;
}

// Every member is looked at, since a later repeat of the key wins.
JsonView JsonView::value(QLatin1StringView key) const
{
    if (!isObject())
        return {};
    std::uint32_t found = 0;
    const std::uint32_t end = node().extent();
    for (std::uint32_t i = m_index + 1; i < end; i = after(i + 1)) {
        if (at(i).isKey(key))
            found = i + 1;
    }
    return found != 0 ? at(found) : JsonView();
}

JsonView::const_iterator JsonView::begin() const
{
    return isArray() ? const_iterator(*this, m_index + 1) : end();
}

JsonView::const_iterator JsonView::end() const
{
    return isArray() ? const_iterator(*this, node().extent()) : const_iterator();
}

qsizetype JsonView::size() const
{
    return std::distance(begin(), end());
}

QJsonValue JsonView::toQJsonValue() const
{
    if (isUndefined())
        return QJsonValue::Undefined;
    switch (node().kind()) {
    case Node::Kind::Null: return QJsonValue::Null;
    case Node::Kind::False: return false;
    case Node::Kind::True: return true;
    case Node::Kind::Number: {
        if (const auto integer = toInteger())
            return *integer;
        return toDouble();
    }
    case Node::Kind::String: return toString();
    case Node::Kind::Array: {
        QJsonArray array;
        for (const JsonView element : *this)
            array.append(element.toQJsonValue());
        return array;
    }
    case Node::Kind::Object: {
        QJsonObject object;
        for (std::uint32_t i = m_index + 1; i < node().extent(); i = after(i + 1))
            object.insert(at(i).toString(), at(i + 1).toQJsonValue());
        return object;
    }
    }
    return QJsonValue::Undefined;
}

} // namespace vorlie
