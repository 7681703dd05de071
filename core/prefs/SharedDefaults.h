#pragma once

#include "PreferenceFile.h"
#include "PreferencePaths.h"
#include "SharedJson.h"
#include "json/JsonCodec.h"

#include <optional>

namespace vorlie {

// The preference suite "group.com.vorlia.app" that the application and the
// widget extension share. Cheap to copy: it holds only paths, and every
// access opens the file afresh so the other process's writes are seen.
// When the suite file cannot be used the application's standard store takes
// its place without a word; the two processes then share nothing.
class SharedDefaults {
public:
    explicit SharedDefaults(PreferencePaths paths = PreferencePaths::forUser()) : m_paths(std::move(paths)) {}

    // False while the fallback store is in use.
    bool usesSharedSuite() const;

    std::optional<QByteArray> data(const QString &key) const { return file().data(key); }
    std::optional<QString> text(const QString &key) const { return file().text(key); }
    std::optional<bool> truth(const QString &key) const { return file().truth(key); }
    std::optional<QStringList> textList(const QString &key) const { return file().textList(key); }

    bool setData(const QString &key, const QByteArray &value) const { return file().setData(key, value); }
    bool setText(const QString &key, const QString &value) const { return file().setText(key, value); }
    bool setTruth(const QString &key, bool value) const { return file().setTruth(key, value); }
    bool setTextList(const QString &key, const QStringList &value) const { return file().setTextList(key, value); }
    bool remove(const QString &key) const { return file().remove(key); }

    // Stores the record as compact UTF-8 JSON data. A record whose JSON would
    // not decode again (an invalid instant, a non-finite number) writes
    // nothing, so what is stored is always readable. False when nothing was
    // written.
    template<typename T>
    bool saveShared(const T &value, const QString &key) const
    {
        const auto data = sharedjson::serialize(JsonCodec<T>::encode(value));
        if (!data)
            return false;
        const auto reparsed = sharedjson::parse(*data);
        if (!reparsed || !JsonCodec<T>::decode(reparsed->root()))
            return false;
        return setData(key, *data);
    }

    // None for a missing key, non-JSON data or a record of another shape;
    // the stored data is left as it is in every case.
    template<typename T>
    std::optional<T> loadShared(const QString &key) const
    {
        const auto data = this->data(key);
        if (!data)
            return std::nullopt;
        const auto json = sharedjson::parse(*data);
        if (!json)
            return std::nullopt;
        return JsonCodec<T>::decode(json->root());
    }

private:
    PreferenceFile file() const;

    PreferencePaths m_paths;
};

} // namespace vorlie
