// libFuzzer entry: the JSON reader against Qt's parser, then every record
// decoder and both envelopes over arbitrary bytes. The reader must accept
// what Qt accepts, apart from its deliberate strictness, and read it to the
// same values; a decoder may refuse, never crash; whatever decodes must
// encode and decode again to the same value.
#include "api/Envelope.h"
#include "domain/Announcement.h"
#include "domain/Connection.h"
#include "domain/Status.h"
#include "domain/StatusCatalogItem.h"
#include "domain/User.h"
#include "json/Instant.h"
#include "json/JsonEscapes_p.h"
#include "json/JsonReader.h"
#include "sync/SyncSnapshot.h"
#include "widget/WidgetSnapshot.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

using namespace vorlie;

namespace {

QByteArray compact(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
}

template<typename T>
void check(JsonView value)
{
    const std::optional<T> decoded = JsonCodec<T>::decode(value);
    if constexpr (requires(const T &t) { JsonCodec<T>::encode(t); }) {
        if (!decoded)
            return;
        const ParsedJson again = ParsedJson::parse(compact(JsonCodec<T>::encode(*decoded)));
        if (JsonCodec<T>::decode(*again.root().begin()) != decoded)
            std::abort(); // a record that does not survive its own round trip
    }
}

template<typename... Records>
void checkEach(JsonView value)
{
    (check<Records>(value), ...);
}

// Every record decoder; the widget's snapshot among them is stored by one
// process and read by another.
void checkAll(JsonView value)
{
    checkEach<User, AvatarConfiguration, Connection, MainPerson, Status, StatusCatalogItem, Announcement, SyncSnapshot,
              std::vector<Connection>, WidgetSnapshot>(value);
}

bool isLaxNumber(QByteArrayView text)
{
    qsizetype i = text.startsWith('-') ? 1 : 0;
    if (i < text.size() && text[i] == '.')
        return true; // ".5"
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    return i < text.size() && text[i] == '.' && (i + 1 == text.size() || text[i + 1] < '0' || text[i + 1] > '9'); // "1." and "1.e5"
}

// Whether the reader refused, at the offset it names, one of the forms that
// Qt lets through and the reader deliberately does not.
bool isDeliberateStrictness(const QByteArray &bytes, JsonError error)
{
    const QByteArrayView at = QByteArrayView(bytes).sliced(std::min(error.offset, bytes.size()));
    switch (error.kind) {
    case JsonError::Kind::TooDeep: return at.startsWith('[') || at.startsWith('{');
    case JsonError::Kind::ControlCharacter: return !at.isEmpty() && static_cast<unsigned char>(at[0]) < 0x20;
    case JsonError::Kind::BadEscape: return at.size() >= 2 && at[0] == '\\' && at[1] != 'u' && json::simpleEscape(at[1]) == 0;
    case JsonError::Kind::UnpairedSurrogate: {
        if (at.size() < 6 || !at.startsWith("\\u"))
            return false;
        const std::int32_t unit = json::hexUnit(at.data() + 2);
        return json::isHighSurrogate(unit) || json::isLowSurrogate(unit);
    }
    case JsonError::Kind::BadNumber: return isLaxNumber(at);
    default: return false;
    }
}

void compareWithQt(const QByteArray &bytes, const ParsedJson &ours)
{
    QJsonParseError error{};
    const QJsonDocument qt = QJsonDocument::fromJson(bytes, &error);
    if (!ours.isValid()) {
        if (error.error == QJsonParseError::NoError && !isDeliberateStrictness(bytes, ours.error()))
            std::abort(); // refused a text Qt reads, for no documented reason
        return;
    }
    if (error.error != QJsonParseError::NoError)
        std::abort(); // accepted a text Qt refuses
    // Qt's toString() drops a byte order mark that starts a string without
    // escapes, yet its containers keep the mark when they compare, so no
    // QJsonValue built from such a text equals Qt's. The reader's tests cover
    // these strings.
    if (bytes.contains("\"\xEF\xBB\xBF"))
        return;
    const QJsonValue expected = qt.isObject() ? QJsonValue(qt.object()) : QJsonValue(qt.array());
    const QJsonValue actual = ours.root().toQJsonValue();
    // The texts tell integers from doubles where == would not.
    if (actual != expected || compact(actual) != compact(expected))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    (void)decodeErrorEnvelope(bytes);
    (void)decodeDataEnvelope<SyncSnapshot>(bytes);
    (void)parseInstant(QString::fromUtf8(bytes));
    (void)parseInstant(QByteArrayView(bytes));

    const ParsedJson document = ParsedJson::parse(bytes);
    compareWithQt(bytes, document);
    const JsonView root = document.root();
    checkAll(root);
    // Seeds are envelopes; reach the record inside as well.
    if (const JsonView inner = root.value(QLatin1StringView("data")); !inner.isUndefined())
        checkAll(inner);
    return 0;
}
