// libFuzzer entry: every record decoder and both envelopes over arbitrary
// bytes. A decoder may refuse, never crash; whatever decodes must encode and
// decode again to the same value.
#include "api/Envelope.h"
#include "domain/Announcement.h"
#include "domain/Connection.h"
#include "domain/Status.h"
#include "domain/StatusCatalogItem.h"
#include "domain/User.h"
#include "json/Instant.h"
#include "sync/SyncSnapshot.h"
#include "widget/WidgetSnapshot.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

using namespace vorlie;

namespace {

template<typename T>
void check(const QJsonValue &value)
{
    const std::optional<T> decoded = JsonCodec<T>::decode(value);
    if constexpr (requires(const T &t) { JsonCodec<T>::encode(t); }) {
        if (decoded && JsonCodec<T>::decode(JsonCodec<T>::encode(*decoded)) != decoded)
            std::abort(); // a record that does not survive its own round trip
    }
}

void checkAll(const QJsonValue &value)
{
    check<User>(value);
    check<AvatarConfiguration>(value);
    check<Connection>(value);
    check<MainPerson>(value);
    check<Status>(value);
    check<StatusCatalogItem>(value);
    check<Announcement>(value);
    check<SyncSnapshot>(value);
    check<std::vector<Connection>>(value);
    check<WidgetSnapshot>(value); // stored by one process, read by another
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    (void)decodeErrorEnvelope(bytes);
    (void)decodeDataEnvelope<SyncSnapshot>(bytes);
    (void)parseInstant(QString::fromUtf8(bytes));

    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject()) {
        const QJsonObject object = document.object();
        checkAll(object);
        // Seeds are envelopes; reach the record inside as well.
        if (object.contains(QLatin1StringView("data")))
            checkAll(object.value(QLatin1StringView("data")));
    } else if (document.isArray()) {
        checkAll(document.array());
    }
    return 0;
}
