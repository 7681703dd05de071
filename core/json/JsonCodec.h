#pragma once

#include "Instant.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace vorlie {

// Strict JSON coding. Each record type specialises JsonCodec with
//   static std::optional<T> decode(const QJsonValue &);
//   static QJsonValue encode(const T &);        (for records that are sent)
// decode() checks every JSON type itself: QJsonValue's to*() accessors convert
// silently, so a numeric id would otherwise become "".
template<typename T>
struct JsonCodec;

template<>
struct JsonCodec<QString> {
    static std::optional<QString> decode(const QJsonValue &v)
    {
        if (!v.isString())
            return std::nullopt;
        return v.toString();
    }
    static QJsonValue encode(const QString &s) { return s; }
};

template<>
struct JsonCodec<bool> {
    static std::optional<bool> decode(const QJsonValue &v)
    {
        if (!v.isBool())
            return std::nullopt;
        return v.toBool();
    }
    static QJsonValue encode(bool b) { return b; }
};

// Whole numbers only; fractions and values beyond the 53-bit range that a
// JSON double holds exactly are refused instead of being wrapped.
template<>
struct JsonCodec<qint64> {
    static std::optional<qint64> decode(const QJsonValue &v)
    {
        if (!v.isDouble())
            return std::nullopt;
        const QVariant raw = v.toVariant();
        if (raw.typeId() == QMetaType::LongLong)
            return raw.toLongLong();
        const double d = v.toDouble();
        constexpr double limit = 9007199254740992.0; // 2^53
        if (!std::isfinite(d) || std::trunc(d) != d || d > limit || d < -limit)
            return std::nullopt;
        return static_cast<qint64>(d);
    }
    static QJsonValue encode(qint64 n) { return n; }
};

template<>
struct JsonCodec<int> {
    static std::optional<int> decode(const QJsonValue &v)
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
    static std::optional<double> decode(const QJsonValue &v)
    {
        if (!v.isDouble())
            return std::nullopt;
        return v.toDouble();
    }
    static QJsonValue encode(double d) { return d; }
};

template<>
struct JsonCodec<QDateTime> {
    static std::optional<QDateTime> decode(const QJsonValue &v)
    {
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
    static std::optional<QByteArray> decode(const QJsonValue &v)
    {
        if (!v.isString())
            return std::nullopt;
        auto decoded = QByteArray::fromBase64Encoding(v.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        return std::move(decoded.decoded);
    }
    static QJsonValue encode(const QByteArray &bytes) { return QString::fromLatin1(bytes.toBase64()); }
};

template<>
struct JsonCodec<QJsonValue> {
    static std::optional<QJsonValue> decode(const QJsonValue &v) { return v; }
    static QJsonValue encode(const QJsonValue &v) { return v; }
};

template<>
struct JsonCodec<QJsonObject> {
    static std::optional<QJsonObject> decode(const QJsonValue &v)
    {
        if (!v.isObject())
            return std::nullopt;
        return v.toObject();
    }
    static QJsonValue encode(const QJsonObject &o) { return o; }
};

// An array decodes only when every element does.
template<typename T>
struct JsonCodec<std::vector<T>> {
    static std::optional<std::vector<T>> decode(const QJsonValue &v)
    {
        if (!v.isArray())
            return std::nullopt;
        const QJsonArray array = v.toArray();
        std::vector<T> out;
        out.reserve(static_cast<size_t>(array.size()));
        for (const QJsonValue &element : array) {
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
bool readRequired(const QJsonObject &object, QLatin1StringView key, T &out)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd())
        return false;
    auto value = JsonCodec<T>::decode(*it);
    if (!value)
        return false;
    out = std::move(*value);
    return true;
}

// A missing key and null both mean "no value".
template<typename T>
bool readOptional(const QJsonObject &object, QLatin1StringView key, std::optional<T> &out)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull()) {
        out.reset();
        return true;
    }
    auto value = JsonCodec<T>::decode(*it);
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
} // namespace vorlie
