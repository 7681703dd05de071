#pragma once

#include "ServicesPresenter.h"
#include "StatusSections.h"

#include <QObject>
#include <QQmlEngine>
#include <memory>

namespace vorlie {

class SessionStore;
class StandardDefaults;
class StatusPickerViewModel;
class StatusRepository;
class TextLookup;

// The status picker's view of the picker model: its sections in order, each
// with its chips, the custom text with its limit, and the error line.
// Created by the picker view on first appearance; saved() tells the view to
// report success and close.
class StatusPickerPresenter : public ServicesPresenter {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(vorlie::StatusSectionList *sections READ sections CONSTANT)
    Q_PROPERTY(QString customText READ customText WRITE setCustomText NOTIFY customTextChanged)
    Q_PROPERTY(bool showsSendButton READ showsSendButton NOTIFY customTextChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY isSubmittingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    static constexpr int customTextLimit = 60;

    struct Inputs {
        StatusRepository &statuses;
        // Publishing goes through the session, which shows the result.
        SessionStore &session;
        // Where the recently used statuses are kept.
        const StandardDefaults &defaults;
        const TextLookup &texts;
    };

    explicit StatusPickerPresenter(QObject *parent = nullptr);
    // For tests and C++ hosts: bound at once.
    explicit StatusPickerPresenter(const Inputs &inputs, QObject *parent = nullptr);
    ~StatusPickerPresenter() override;

    // True until the model exists, and while its catalogue is on its way
    // with no chip known yet: the view shows its loading state then, and
    // there are no sections. A built-in catalogue taken in place of the
    // service's ends it at once.
    bool isLoading() const { return m_isLoading; }
    // In display order; empty while loading. A favourite toggled, or a new
    // language, changes rows in place.
    StatusSectionList *sections() { return &m_sections; }
    QString customText() const;
    void setCustomText(const QString &text);
    bool showsSendButton() const;
    bool isSubmitting() const;
    // Empty when there is nothing to show.
    QString errorMessage() const;

    // Publishes a catalogue status; saved() follows when it was accepted.
    Q_INVOKABLE void choose(const QString &statusKey);
    // Publishes the custom text; nothing happens for blank text.
    Q_INVOKABLE void submitCustom();
    Q_INVOKABLE void toggleFavorite(const QString &statusKey);

signals:
    void isLoadingChanged();
    void customTextChanged();
    void isSubmittingChanged();
    void errorMessageChanged();
    void saved();

private:
    void bind(AppServices &services) override;
    void use(const Inputs &inputs);
    // Sections and the loading state, from the model as it is now.
    void rebuildSections();

    std::unique_ptr<StatusPickerViewModel> m_model;
    bool m_isLoading = true;
    StatusSectionList m_sections;
};

} // namespace vorlie
