#include "StatusPickerViewModel.h"

#include "domain/StatusCatalog.h"
#include "observable/AssignIfChanged.h"
#include "prefs/PreferenceKeys.h"
#include "push/PendingID.h"
#include "repositories/StatusRepository.h"
#include "session/SessionStore.h"

#include <algorithm>
#include <iterator>

namespace vorlie {
namespace {

const QString customKey = QStringLiteral("custom");

// The first catalogue entry with this key, or nullptr; const or not as the catalogue is.
template<typename Catalog>
auto findByKey(Catalog &catalog, const QString &key) -> decltype(&catalog.front())
{
    const auto it = std::find_if(catalog.begin(), catalog.end(), [&](const StatusCatalogItem &i) { return i.key == key; });
    return it == catalog.end() ? nullptr : &*it;
}

} // namespace

StatusPickerViewModel::StatusPickerViewModel(StatusRepository &statusRepository, SessionStore &sessionStore,
                                             StandardDefaults recentsStore, QObject *parent)
    : QObject(parent)
    , m_statusRepository(statusRepository)
    , m_sessionStore(sessionStore)
    , m_recentsStore(std::move(recentsStore))
    , m_recentKeys(m_recentsStore.textList(prefkeys::recentStatusKeys()).value_or(QStringList()))
{
}

std::vector<StatusCatalogItem> StatusPickerViewModel::recentItems() const
{
    std::vector<StatusCatalogItem> out;
    for (const QString &key : m_recentKeys) {
        if (const StatusCatalogItem *item = findByKey(m_catalog, key))
            out.push_back(*item);
    }
    return out;
}

std::vector<StatusCatalogItem> StatusPickerViewModel::favoriteItems() const
{
    std::vector<StatusCatalogItem> out;
    std::copy_if(m_catalog.cbegin(), m_catalog.cend(), std::back_inserter(out), [](const auto &i) { return i.isFavorite; });
    return out;
}

std::vector<StatusCatalogItem> StatusPickerViewModel::itemsInCategory(StatusCategory category) const
{
    std::vector<StatusCatalogItem> out;
    std::copy_if(m_catalog.cbegin(), m_catalog.cend(), std::back_inserter(out),
                 [category](const auto &i) { return i.category == category; });
    return out;
}

QCoro::Task<void> StatusPickerViewModel::loadCatalog()
{
    const QPointer<StatusPickerViewModel> self(this);
    setIsLoading(true);
    const Result<std::vector<StatusCatalogItem>> result = co_await m_statusRepository.fetchCatalog();
    if (!self)
        co_return;
    if (result) {
        setCatalog(*result);
        setErrorMessage(std::nullopt);
    } else {
        setCatalog(BuiltInStatusCatalog::items({}));
        const APIError *api = result.error().apiError();
        setErrorMessage(api ? std::optional<QString>(api->userMessage()) : std::nullopt);
    }
    setIsLoading(false);
}

void StatusPickerViewModel::toggleFavorite(const StatusCatalogItem &item)
{
    const StatusCatalogItem *entry = findByKey(m_catalog, item.key);
    if (!entry)
        return;
    const QString key = entry->key;
    const bool wanted = !entry->isFavorite;
    const bool shown = entry->isFavorite;
    setFavoriteFlag(key, wanted);

    // A request of this key is on its way: it sends the newest wish when it returns.
    if (const auto flight = m_favoriteFlights.find(key); flight != m_favoriteFlights.end()) {
        flight->wanted = wanted;
        return;
    }
    // With nothing on its way, what is shown is what the service confirmed.
    m_favoriteFlights.insert(key, FavoriteFlight{shown, wanted});
    QCoro::connect(sendFavorites(key), this, [] {});
}

QCoro::Task<void> StatusPickerViewModel::sendFavorites(QString statusKey)
{
    const QPointer<StatusPickerViewModel> self(this);
    for (;;) {
        const bool sent = m_favoriteFlights.value(statusKey).wanted;
        Result<void> result;
        if (sent)
            result = co_await m_statusRepository.addFavorite(statusKey);
        else
            result = co_await m_statusRepository.removeFavorite(statusKey);
        if (!self)
            co_return;
        const auto flight = m_favoriteFlights.find(statusKey);
        if (flight == m_favoriteFlights.end())
            co_return;
        if (!result) {
            setFavoriteFlag(statusKey, flight->confirmed);
            m_favoriteFlights.erase(flight);
            co_return;
        }
        flight->confirmed = sent;
        if (flight->wanted == sent) {
            m_favoriteFlights.erase(flight);
            co_return;
        }
    }
}

void StatusPickerViewModel::setFavoriteFlag(const QString &statusKey, bool favorite)
{
    StatusCatalogItem *entry = findByKey(m_catalog, statusKey);
    if (!entry || entry->isFavorite == favorite)
        return;
    entry->isFavorite = favorite;
    emit catalogChanged();
}

QCoro::Task<bool> StatusPickerViewModel::submitCustom()
{
    const QString text = m_customText.trimmed();
    if (text.isEmpty())
        co_return false;
    co_return co_await commit(customKey, text);
}

QCoro::Task<bool> StatusPickerViewModel::commit(QString statusKey, std::optional<QString> customText)
{
    if (m_isSubmitting)
        co_return false;
    setIsSubmitting(true);
    rememberRecentKey(statusKey);

    if (statusKey != customKey)
        customText.reset();
    Status optimistic = optimisticStatus(statusKey, customText);
    std::optional<Status> previous = m_sessionStore.ownStatus();
    m_sessionStore.setOwnStatus(optimistic);
    setErrorMessage(std::nullopt);

    // Detached from this model: the store must get the outcome even when the
    // picker has been closed meanwhile.
    QCoro::connect(publish(QPointer<StatusPickerViewModel>(this), QPointer<SessionStore>(&m_sessionStore),
                           m_statusRepository, std::move(statusKey), std::move(customText), std::move(optimistic),
                           std::move(previous)),
                   &m_sessionStore, [] {});
    co_return true;
}

QCoro::Task<void> StatusPickerViewModel::publish(QPointer<StatusPickerViewModel> model, QPointer<SessionStore> store,
                                                 StatusRepository &repository, QString statusKey,
                                                 std::optional<QString> customText, Status optimistic,
                                                 std::optional<Status> previous)
{
    const Result<Status> result = co_await repository.setStatus(statusKey, customText, StatusSource::manual);
    if (result) {
        if (store)
            store->setOwnStatus(*result);
        if (model) {
            model->setErrorMessage(std::nullopt);
            model->setIsSubmitting(false);
        }
        co_return;
    }

    // Only our own optimistic status is withdrawn; whatever replaced it
    // meanwhile (a sync, another window) is newer than both.
    if (store && store->ownStatus() == optimistic) {
        store->setOwnStatus(previous);
        QCoro::connect(store->refresh(), store.data(), [] {});
    }
    if (model) {
        const APIError *api = result.error().apiError();
        model->setErrorMessage(api ? api->userMessage() : qtTrId("status_picker.update_failed"));
        model->setIsSubmitting(false);
    }
}

Status StatusPickerViewModel::optimisticStatus(const QString &statusKey, const std::optional<QString> &customText) const
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    Status status;
    status.id = QStringLiteral("pending-") + makePendingID(now);
    status.statusKey = statusKey;
    status.source = StatusSource::manual;
    status.createdAt = now;
    status.freshness = StatusFreshness::fresh;
    status.isExpired = false;
    if (statusKey == customKey) {
        status.text = customText;
        status.category = StatusCategory::custom;
        status.visualState = StatusVisualState::neutral;
        return status;
    }
    if (const StatusCatalogItem *item = findByKey(m_catalog, statusKey)) {
        status.text = item->text;
        status.emoji = item->emoji;
        status.category = item->category;
        status.visualState = item->visualState;
    } else {
        status.category = StatusCategory::mood;
        status.visualState = StatusVisualState::neutral;
    }
    return status;
}

void StatusPickerViewModel::rememberRecentKey(const QString &statusKey)
{
    // Another picker window may have written the list since this one read it.
    QStringList keys = m_recentsStore.textList(prefkeys::recentStatusKeys()).value_or(m_recentKeys);
    keys.removeAll(statusKey);
    keys.prepend(statusKey);
    if (keys.size() > maximumRecentKeys)
        keys.resize(maximumRecentKeys);
    m_recentsStore.setTextList(prefkeys::recentStatusKeys(), keys);
    setRecentKeys(keys);
}

void StatusPickerViewModel::setCustomText(const QString &text)
{
    assignIfChanged(this, m_customText, text, &StatusPickerViewModel::customTextChanged);
}

void StatusPickerViewModel::setCatalog(const std::vector<StatusCatalogItem> &catalog)
{
    assignIfChanged(this, m_catalog, catalog, &StatusPickerViewModel::catalogChanged);
}

void StatusPickerViewModel::setRecentKeys(const QStringList &keys)
{
    assignIfChanged(this, m_recentKeys, keys, &StatusPickerViewModel::recentKeysChanged);
}

void StatusPickerViewModel::setIsLoading(bool loading)
{
    assignIfChanged(this, m_isLoading, loading, &StatusPickerViewModel::isLoadingChanged);
}

void StatusPickerViewModel::setErrorMessage(const std::optional<QString> &message)
{
    assignIfChanged(this, m_errorMessage, message, &StatusPickerViewModel::errorMessageChanged);
}

void StatusPickerViewModel::setIsSubmitting(bool submitting)
{
    assignIfChanged(this, m_isSubmitting, submitting, &StatusPickerViewModel::isSubmittingChanged);
}

} // namespace vorlie
