#include "StatusPickerPresenter.h"

#include "AppServices.h"
#include "CustomStatusText.h"
#include "domain/StatusCatalog.h"
#include "i18n/TextLookup.h"
#include "viewmodels/StatusPickerViewModel.h"

#include <QCoro/QCoroTask>

namespace vorlie {
namespace {

StatusChip chipOf(const StatusCatalogItem &item)
{
    return {item.key, BuiltInStatusCatalog::localizedText(item.key, item.text), item.emoji.value_or(QString()),
            item.isFavorite};
}

StatusSection sectionOf(const char *titleKey, const std::vector<StatusCatalogItem> &items)
{
    StatusSection section{QString::fromLatin1(titleKey), qtTrId(titleKey), {}, nullptr};
    section.chips.reserve(items.size());
    for (const StatusCatalogItem &item : items)
        section.chips.push_back(chipOf(item));
    return section;
}

std::vector<StatusSection> sectionsOf(const StatusPickerViewModel &model)
{
    std::vector<StatusSection> sections;
    if (const auto recent = model.recentItems(); !recent.empty())
        sections.push_back(sectionOf("status_picker.recent", recent));
    if (const auto favorites = model.favoriteItems(); !favorites.empty())
        sections.push_back(sectionOf("status_picker.favorites", favorites));
    // Custom statuses are typed, never picked from a section.
    sections.push_back(sectionOf("status_picker.mood", model.itemsInCategory(StatusCategory::mood)));
    sections.push_back(sectionOf("status_picker.activity", model.itemsInCategory(StatusCategory::activity)));
    sections.push_back(sectionOf("status_picker.location", model.itemsInCategory(StatusCategory::location)));
    sections.push_back(sectionOf("status_picker.relationship", model.itemsInCategory(StatusCategory::relationship)));
    return sections;
}

} // namespace

StatusPickerPresenter::StatusPickerPresenter(QObject *parent)
    : ServicesPresenter(parent)
    , m_sections(this)
{
}

StatusPickerPresenter::StatusPickerPresenter(const Inputs &inputs, QObject *parent)
    : ServicesPresenter(parent)
    , m_sections(this)
{
    use(inputs);
}

StatusPickerPresenter::~StatusPickerPresenter() = default;

void StatusPickerPresenter::bind(AppServices &services)
{
    use({services.statusRepository(), services.sessionStore(), services.standardDefaults(), services.textLookup()});
}

void StatusPickerPresenter::use(const Inputs &inputs)
{
    m_model = std::make_unique<StatusPickerViewModel>(inputs.statuses, inputs.session, inputs.defaults);
    StatusPickerViewModel *model = m_model.get();
    connect(model, &StatusPickerViewModel::catalogChanged, this, &StatusPickerPresenter::rebuildSections);
    connect(model, &StatusPickerViewModel::recentKeysChanged, this, &StatusPickerPresenter::rebuildSections);
    connect(model, &StatusPickerViewModel::isLoadingChanged, this, &StatusPickerPresenter::rebuildSections);
    connect(model, &StatusPickerViewModel::customTextChanged, this, &StatusPickerPresenter::customTextChanged);
    connect(model, &StatusPickerViewModel::isSubmittingChanged, this, &StatusPickerPresenter::isSubmittingChanged);
    connect(model, &StatusPickerViewModel::errorMessageChanged, this, &StatusPickerPresenter::errorMessageChanged);
    connect(&inputs.texts, &TextLookup::languageApplied, this, &StatusPickerPresenter::rebuildSections);
    QCoro::connect(model->loadCatalog(), this, [] {});
    rebuildSections();
}

void StatusPickerPresenter::rebuildSections()
{
    if (!m_model)
        return;
    const bool loading = m_model->isLoading() && m_model->catalog().empty();
    // The sections first: the view leaves its loading state with them in place.
    m_sections.assign(loading ? std::vector<StatusSection>() : sectionsOf(*m_model));
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
            m_model->toggleFavorite(item); // the catalogue's change updates the chip's row
            return;
        }
    }
}

} // namespace vorlie
