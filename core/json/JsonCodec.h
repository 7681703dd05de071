#pragma once

#include "Instant.h"
#include "JsonReader.h"
#include "JsonView.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <limits>
#include <optional>
#include <vector>

namespace vorlie {

// Strict JSON coding. Each record type specialises JsonCodec with
//   static std::optional<T> decode(JsonView);
//   static QJsonValue encode(const T &);        (for records that are sent)
// decode() checks every JSON type itself: the to*() accessors convert
// silently, so a numeric id would otherwise become "".
template<typename T>
struct JsonCodec;

template<>
struct JsonCodec<QString> {
    static std::optional<QString> decode(JsonView v)
    {
        if (!v.isString())
            return std::nullopt;
        return v.toString();
    }
    static QJsonValue encode(const QString &s) { return s; }
};

template<>
struct JsonCodec<bool> {
    static std::optional<bool> decode(JsonView v)
    {
        if (!v.isBool())
            return std::nullopt;
        return v.toBool();
    }
    static QJsonValue encode(bool b) { return b; }
};

// Whole numbers only, exact to 64 bits; fractions and whole values beyond
// qint64 are refused instead of being wrapped or rounded.
template<>
struct JsonCodec<qint64> {
    static std::optional<qint64> decode(JsonView v) { return v.toInteger(); }
    static QJsonValue encode(qint64 n) { return n; }
};

template<>
struct JsonCodec<int> {
    static std::optional<int> decode(JsonView v)
    {
        const auto wide = JsonCodec<qint64>::decode(v);
        if (!wide || *wide < std::numeric_limits<int>::min() || *wide > std::numeric_limits<int>::max())
            return std::nullopt;
        return static_cast<int>(*wide);
    }
    static QJsonValue encode(int n) { return n; }
};

template<>
struct JsonCodec<double> {
    static std::optional<double> decode(JsonView v)
    {
        if (!v.isDouble())
            return std::nullopt;
        return v.toDouble();
    }
    static QJsonValue encode(double d) { return d; }
};

template<>
struct JsonCodec<QDateTime> {
    static std::optional<QDateTime> decode(JsonView v)
    {
        if (const auto utf8 = v.rawUtf8())
            return parseInstant(*utf8);
        if (!v.isString())
            return std::nullopt;
        return parseInstant(v.toString());
    }
    static QJsonValue encode(const QDateTime &t) { return formatInstant(t); }
};

// Bytes travel as one Base64 text (standard alphabet, padded); anything that
// is not clean Base64 is refused rather than decoded to a partial picture.
template<>
struct JsonCodec<QByteArray> {
    static std::optional<QByteArray> decode(JsonView v)
    {
        if (!v.isString())
            return std::nullopt;
        // Decoded straight out of the document's text, without a copy of the
        // Base64 first. Text beyond ASCII is no Base64 either way: raw UTF-8
        // bytes fail the check just as the '?' that toLatin1() makes of them.
        const auto utf8 = v.rawUtf8();
        auto decoded = QByteArray::fromBase64Encoding(utf8 ? QByteArray::fromRawData(utf8->data(), utf8->size())
                                                           : v.toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        return std::move(decoded.decoded);
    }
    static QJsonValue encode(const QByteArray &bytes) { return QString::fromLatin1(bytes.toBase64()); }
};

template<>
struct JsonCodec<QJsonValue> {
    static std::optional<QJsonValue> decode(JsonView v) { return v.toQJsonValue(); }
    static QJsonValue encode(const QJsonValue &v) { return v; }
};

template<>
struct JsonCodec<QJsonObject> {
    static std::optional<QJsonObject> decode(JsonView v)
    {
        if (!v.isObject())
            return std::nullopt;
        return v.toQJsonValue().toObject();
    }
    static QJsonValue encode(const QJsonObject &o) { return o; }
};

// An array decodes only when every element does.
template<typename T>
struct JsonCodec<std::vector<T>> {
    static std::optional<std::vector<T>> decode(JsonView v)
    {
        if (!v.isArray())
            return std::nullopt;
        std::vector<T> out;
        out.reserve(static_cast<size_t>(v.size()));
        for (const JsonView element : v) {
            auto item = JsonCodec<T>::decode(element);
            if (!item)
                return std::nullopt;
            out.push_back(std::move(*item));
        }
        return out;
    }
    static QJsonValue encode(const std::vector<T> &items)
    {
        QJsonArray array;
        for (const T &item : items)
            array.append(JsonCodec<T>::encode(item));
        return array;
    }
};

// Helpers for record codecs: each returns false when the record must fail.
namespace json {

template<typename T>
bool readRequired(JsonView object, QLatin1StringView key, T &out)
{
    const JsonView member = object.value(key);
    if (member.isUndefined())
        return false;
    auto value = JsonCodec<T>::decode(member);
    if (!value)
        return false;
    out = std::move(*value);
    return true;
}

// A missing key and null both mean "no value".
template<typename T>
bool readOptional(JsonView object, QLatin1StringView key, std::optional<T> &out)
{
    const JsonView member = object.value(key);
    if (member.isUndefined() || member.isNull()) {
        out.reset();
        return true;
    }
    auto value = JsonCodec<T>::decode(member);
    if (!value)
        return false;
    out = std::move(*value);
    return true;
}

template<typename T>
void write(QJsonObject &object, QLatin1StringView key, const T &value)
{
    object.insert(key, JsonCodec<T>::encode(value));
}

// Optional values are left out, never written as null.
template<typename T>
void writeOptional(QJsonObject &object, QLatin1StringView key, const std::optional<T> &value)
{
    if (value)
        object.insert(key, JsonCodec<T>::encode(*value));
}

} // namespace json
// The one element of a JSON array text, decoded as T: how a single value,
// which may be a bare string and so no document of its own, is read back.
template<typename T>
std::optional<T> decodeOnlyElement(const QByteArray &arrayText)
{
    const ParsedJson document = ParsedJson::parse(arrayText);
    const JsonView array = document.root();
    if (array.size() != 1)
        return std::nullopt;
    return JsonCodec<T>::decode(*array.begin());
}

} // namespace vorlie
