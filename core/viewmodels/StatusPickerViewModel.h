#pragma once

#include "domain/Status.h"
#include "domain/StatusCatalogItem.h"
#include "prefs/StandardDefaults.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QCoro/QCoroTask>
#include <optional>
#include <vector>

namespace vorlie {

class SessionStore;
class StatusRepository;

// Behind the status picker: the catalogue (the service's, else the built-in
// one), the recently used keys, favourites and the custom text, and the
// optimistic publishing of one's own status through the session store.
// Main thread only; every setter notifies only on a real change.
class StatusPickerViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::vector<vorlie::StatusCatalogItem> catalog READ catalog NOTIFY catalogChanged)
    Q_PROPERTY(QStringList recentKeys READ recentKeys NOTIFY recentKeysChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(std::optional<QString> errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(QString customText READ customText WRITE setCustomText NOTIFY customTextChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY isSubmittingChanged)

public:
    static constexpr int maximumRecentKeys = 6;

    // The recent keys are read from `recentsStore` here and written back to it
    // on every commit.
    StatusPickerViewModel(StatusRepository &statusRepository, SessionStore &sessionStore,
                          StandardDefaults recentsStore = StandardDefaults(), QObject *parent = nullptr);

    const std::vector<StatusCatalogItem> &catalog() const { return m_catalog; }
    const QStringList &recentKeys() const { return m_recentKeys; }
    bool isLoading() const { return m_isLoading; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    const QString &customText() const { return m_customText; }
    bool isSubmitting() const { return m_isSubmitting; }

    void setCustomText(const QString &text);

    // Derived from the current fields on every call, in catalogue order
    // (recentItems in the order of recentKeys, skipping keys the catalogue lacks).
    std::vector<StatusCatalogItem> recentItems() const;
    std::vector<StatusCatalogItem> favoriteItems() const;
    std::vector<StatusCatalogItem> itemsInCategory(StatusCategory category) const;

    // Falls back to the built-in catalogue, none marked favourite.
    QCoro::Task<void> loadCatalog();
    // Flips the star at once. Toggles of one key reach the service one at a
    // time, and the last one wins; a refusal restores what the service last
    // confirmed.
    void toggleFavorite(const StatusCatalogItem &item);
    // False, and nothing happens, when the trimmed text is empty.
    QCoro::Task<bool> submitCustom();
    // Shows an optimistic status in the session store at once and the
    // service's afterwards; false while another commit is on its way. Does
    // not wait for the service. The service's answer still reaches the store
    // when this model is gone by then.
    QCoro::Task<bool> commit(QString statusKey, std::optional<QString> customText = std::nullopt);
    void rememberRecentKey(const QString &statusKey);

signals:
    void catalogChanged();
    void recentKeysChanged();
    void isLoadingChanged();
    void errorMessageChanged();
    void customTextChanged();
    void isSubmittingChanged();

private:
    // One key's favourite requests: at most one on its way, and what the user
    // wants once it returns.
    struct FavoriteFlight {
        bool confirmed; // the service's state as far as we know
        bool wanted;
    };

    static QCoro::Task<void> publish(QPointer<StatusPickerViewModel> model, QPointer<SessionStore> store,
                                     StatusRepository &repository, QString statusKey, std::optional<QString> customText,
                                     Status optimistic, std::optional<Status> previous);
    QCoro::Task<void> sendFavorites(QString statusKey);
    Status optimisticStatus(const QString &statusKey, const std::optional<QString> &customText) const;
    void setFavoriteFlag(const QString &statusKey, bool favorite);

    void setCatalog(const std::vector<StatusCatalogItem> &catalog);
    void setRecentKeys(const QStringList &keys);
    void setIsLoading(bool loading);
    void setErrorMessage(const std::optional<QString> &message);
    void setIsSubmitting(bool submitting);

    StatusRepository &m_statusRepository;
    SessionStore &m_sessionStore;
    const StandardDefaults m_recentsStore;
    QHash<QString, FavoriteFlight> m_favoriteFlights;

    std::vector<StatusCatalogItem> m_catalog;
    QStringList m_recentKeys;
    bool m_isLoading = false;
    std::optional<QString> m_errorMessage;
    QString m_customText;
    bool m_isSubmitting = false;
};

} // namespace vorlie
