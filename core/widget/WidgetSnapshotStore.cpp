#include "WidgetSnapshotStore.h"

#include "api/HttpExchange.h"
#include "domain/AvatarImageURL.h"
#include "domain/StatusCatalog.h"
#include "prefs/PreferenceKeys.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QPointer>

namespace vorlie {
namespace {

constexpr int maxPictureSide = 1024; // the widget asks for 192 px

QString downloadKey(const WidgetSnapshot &snapshot)
{
    const QJsonObject avatar = JsonCodec<AvatarConfiguration>::encode(snapshot.avatar).toObject();
    return snapshot.personID + u'\n' + QString::fromUtf8(QJsonDocument(avatar).toJson(QJsonDocument::Compact));
}

WidgetSnapshot withoutPicture(WidgetSnapshot snapshot)
{
    snapshot.avatarImageData.reset();
    return snapshot;
}

} // namespace

QImage decodeAvatarPicture(const QByteArray &body)
{
    // Error pages never reach the decoder, which would complain on stderr.
    if (!body.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")))
        return {};
    QBuffer buffer;
    buffer.setData(body);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size(); // from the header, before anything is decoded
    if (!size.isValid() || size.width() > maxPictureSide || size.height() > maxPictureSide)
        return {};
    return reader.read();
}

bool isAcceptablePicture(const QByteArray &body)
{
    return !decodeAvatarPicture(body).isNull();
}

WidgetSnapshotStore::WidgetSnapshotStore(SharedDefaults defaults, QNetworkAccessManager &pictureNetwork,
                                         QUrl avatarServiceBase, std::function<void()> reloadAllTimelines,
                                         QObject *parent)
    : QObject(parent)
    , m_defaults(std::move(defaults))
    , m_pictureNetwork(pictureNetwork)
    , m_avatarServiceBase(std::move(avatarServiceBase))
    , m_reloadAllTimelines(std::move(reloadAllTimelines))
{
}

WidgetSnapshotStore::~WidgetSnapshotStore()
{
    m_shutdown.cancel();
}

std::optional<WidgetSnapshot> WidgetSnapshotStore::load() const
{
    return m_defaults.loadShared<WidgetSnapshot>(prefkeys::widgetSnapshot());
}

void WidgetSnapshotStore::save(const WidgetSnapshot &snapshot)
{
    saveOver(snapshot, load());
}

void WidgetSnapshotStore::saveOver(const WidgetSnapshot &snapshot, const std::optional<WidgetSnapshot> &stored)
{
    if (stored == snapshot)
        return;
    if (m_defaults.saveShared(snapshot, prefkeys::widgetSnapshot()))
        m_reloadAllTimelines();
}

void WidgetSnapshotStore::clear()
{
    if (!m_defaults.data(prefkeys::widgetSnapshot()))
        return;
    m_defaults.remove(prefkeys::widgetSnapshot());
    m_reloadAllTimelines();
}

void WidgetSnapshotStore::applySyncToWidget(const SyncSnapshot &sync)
{
    if (!sync.mainPerson) {
        clear();
        return;
    }
    const std::optional<WidgetSnapshot> stored = load();
    const WidgetSnapshot snapshot = buildSnapshot(sync, *sync.mainPerson, stored);
    saveOver(snapshot, stored);
    if (!snapshot.avatarImageData)
        downloadPicture(snapshot);
}

void WidgetSnapshotStore::noteUnreachable(const std::optional<QDateTime> &lastCurrent)
{
    const std::optional<WidgetSnapshot> stored = load();
    if (!stored || !lastCurrent)
        return;
    WidgetSnapshot noted = *stored;
    // Whole seconds, as stored: a second failure then finds nothing to write.
    noted.offlineUpdatedAt = QDateTime::fromSecsSinceEpoch(lastCurrent->toSecsSinceEpoch(), Qt::UTC);
    saveOver(noted, stored);
}

WidgetSnapshot WidgetSnapshotStore::buildSnapshot(const SyncSnapshot &sync, const MainPerson &main,
                                                  const std::optional<WidgetSnapshot> &stored)
{
    const User &person = main.person;
    const std::optional<Status> &status = sync.mainPersonStatus;

    WidgetSnapshot snapshot;
    snapshot.personID = person.id;
    snapshot.displayName = person.displayName;
    snapshot.avatar = person.avatar;
    snapshot.statusText = status ? displayText(*status) : QString();
    snapshot.emoji = status ? status->emoji : std::nullopt;
    snapshot.visualState = status ? status->visualState : StatusVisualState::neutral;
    snapshot.updatedAt = status ? status->createdAt : sync.serverTime;
    snapshot.isExpired = status ? status->isExpired : true;

    // The picture shows the avatar, not the status: keep it while both stay.
    if (stored && stored->personID == person.id && stored->avatar == person.avatar)
        snapshot.avatarImageData = stored->avatarImageData;
    return snapshot;
}

QCoro::Task<void> WidgetSnapshotStore::downloadPicture(WidgetSnapshot captured)
{
    const QString key = downloadKey(captured);
    if (m_downloadsInFlight.contains(key))
        co_return;
    m_downloadsInFlight.insert(key);

    QPointer<WidgetSnapshotStore> self(this);
    const CancelToken shutdown = m_shutdown;
    QNetworkRequest request(avatarImageURL(m_avatarServiceBase, captured.avatar, captured.personID, picturePoints));
    HttpExchangeOptions options{pictureTimeout, maxPictureBytes, shutdown};
    const HttpOutcome outcome = co_await exchange(m_pictureNetwork, request, "GET", std::nullopt, options);
    // During destruction the pointer is still set, but the token has fired.
    if (!self || shutdown.isCancelled())
        co_return;

    m_downloadsInFlight.remove(key);
    const bool ok = outcome.failure == HttpOutcome::Failure::none && outcome.status >= 200 && outcome.status < 300;
    if (ok && isAcceptablePicture(outcome.body))
        keepPicture(captured, outcome.body);
    emit pictureDownloadFinished();
}

void WidgetSnapshotStore::keepPicture(const WidgetSnapshot &captured, const QByteArray &picture)
{
    // A newer status, another person or a sign-out may have been stored
    // meanwhile; the picture then belongs to nothing that is shown.
    const auto stored = load();
    if (!stored || withoutPicture(*stored) != captured)
        return;
    WidgetSnapshot withPicture = captured;
    withPicture.avatarImageData = picture;
    saveOver(withPicture, stored);
}

} // namespace vorlie
