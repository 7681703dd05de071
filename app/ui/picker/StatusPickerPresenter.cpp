#include "StatusPickerPresenter.h"

#include "AppServices.h"
#include "CustomStatusText.h"
#include "domain/StatusCatalog.h"
#include "i18n/TextLookup.h"
#include "session/SessionStore.h"
#include "viewmodels/StatusPickerViewModel.h"

#include <QCoro/QCoroTask>

namespace vorlie {
namespace {

QVariantMap chipOf(const StatusCatalogItem &item)
{
    return {
        {QStringLiteral("key"), item.key},
        {QStringLiteral("text"), BuiltInStatusCatalog::localizedText(item.key, item.text)},
        {QStringLiteral("emoji"), item.emoji.value_or(QString())},
        {QStringLiteral("isFavorite"), item.isFavorite},
    };
}

QVariantMap sectionOf(const char *titleKey, const std::vector<StatusCatalogItem> &items)
{
    QVariantList chips;
    for (const StatusCatalogItem &item : items)
        chips << chipOf(item);
    return {
        {QStringLiteral("key"), QString::fromLatin1(titleKey)},
        {QStringLiteral("title"), qtTrId(titleKey)},
        {QStringLiteral("chips"), chips},
    };
}

QVariantList sectionsOf(const StatusPickerViewModel &model)
{
    QVariantList sections;
    if (const auto recent = model.recentItems(); !recent.empty())
        sections << sectionOf("status_picker.recent", recent);
    if (const auto favorites = model.favoriteItems(); !favorites.empty())
        sections << sectionOf("status_picker.favorites", favorites);
    // Custom statuses are typed, never picked from a section.
    sections << sectionOf("status_picker.mood", model.itemsInCategory(StatusCategory::mood));
    sections << sectionOf("status_picker.activity", model.itemsInCategory(StatusCategory::activity));
    sections << sectionOf("status_picker.location", model.itemsInCategory(StatusCategory::location));
    sections << sectionOf("status_picker.relationship", model.itemsInCategory(StatusCategory::relationship));
    return sections;
}

} // namespace

StatusPickerPresenter::StatusPickerPresenter(QObject *parent)
    : ServicesPresenter(parent)
{
}

StatusPickerPresenter::StatusPickerPresenter(AppServices &services, QObject *parent)
    : ServicesPresenter(parent)
{
    bind(services);
}

StatusPickerPresenter::~StatusPickerPresenter() = default;


void StatusPickerPresenter::bind(AppServices &services)
{
    m_services = &services;
    SessionStore &store = services.sessionStore();
    m_model = std::make_unique<StatusPickerViewModel>(store.dependencies().statusRepository, store,
                                                      services.standardDefaults());
    StatusPickerViewModel *model = m_model.get();
    connect(model, &StatusPickerViewModel::catalogChanged, this, &StatusPickerPresenter::rebuildSections);
    connect(model, &StatusPickerViewModel::recentKeysChanged, this, &StatusPickerPresenter::rebuildSections);
    connect(model, &StatusPickerViewModel::isLoadingChanged, this, &StatusPickerPresenter::rebuildSections);
    connect(model, &StatusPickerViewModel::customTextChanged, this, &StatusPickerPresenter::customTextChanged);
    connect(model, &StatusPickerViewModel::isSubmittingChanged, this, &StatusPickerPresenter::isSubmittingChanged);
    connect(model, &StatusPickerViewModel::errorMessageChanged, this, &StatusPickerPresenter::errorMessageChanged);
    connect(&services.textLookup(), &TextLookup::languageApplied, this, &StatusPickerPresenter::rebuildSections);
    QCoro::connect(model->loadCatalog(), this, [] {});
    rebuildSections();
}

void StatusPickerPresenter::rebuildSections()
{
    if (!m_model)
        return;
    const bool loading = m_model->isLoading() && m_model->catalog().empty();
    const QVariantList sections = loading ? QVariantList() : sectionsOf(*m_model);
    // The sections first: the view leaves its loading state with them in place.
    if (sections != m_sections) {
        m_sections = sections;
        emit sectionsChanged();
    }
    if (loading != m_isLoading) {
        m_isLoading = loading;
        emit isLoadingChanged();
    }
}

QString StatusPickerPresenter::customText() const
{
    return m_model ? m_model->customText() : QString();
}

void StatusPickerPresenter::setCustomText(const QString &text)
{
    if (!m_model)
        return;
    const QString limited = limitGraphemes(text, customTextLimit);
    m_model->setCustomText(limited);
    // The field may hold more than the model took: tell it to show the cut text.
    if (limited != text)
        emit customTextChanged();
}

bool StatusPickerPresenter::showsSendButton() const
{
    return hasSendableText(customText());
}

bool StatusPickerPresenter::isSubmitting() const
{
    return m_model && m_model->isSubmitting();
}

QString StatusPickerPresenter::errorMessage() const
{
    return m_model ? m_model->errorMessage().value_or(QString()) : QString();
}

void StatusPickerPresenter::choose(const QString &statusKey)
{
    if (!m_model)
        return;
    QCoro::connect(m_model->commit(statusKey), this, [this](bool accepted) {
        if (accepted)
            emit saved();
    });
}

void StatusPickerPresenter::submitCustom()
{
    if (!m_model || !hasSendableText(customText()))
        return;
    QCoro::connect(m_model->submitCustom(), this, [this](bool accepted) {
        if (accepted)
            emit saved();
    });
}

void StatusPickerPresenter::toggleFavorite(const QString &statusKey)
{
    if (!m_model)
        return;
    for (const StatusCatalogItem &item : m_model->catalog()) {
        if (item.key == statusKey) {
            m_model->toggleFavorite(item); // the catalogue's change rebuilds the sections
            return;
        }
    }
}

} // namespace vorlie
