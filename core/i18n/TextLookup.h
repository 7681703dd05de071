#pragma once

#include "prefs/AppLanguage.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QTranslator;

namespace vorlie {

// Redirects the process's id-based text lookups (qtTrId) to the table of the
// chosen interface language. Texts looked up after apply() come from the new
// table; views that are already shown retranslate on languageApplied().
class TextLookup : public QObject {
    Q_OBJECT

public:
    // The system's preferred UI languages, most preferred first (for example
    // "de-DE", "en-US"). Injected because QLocale::system() cannot be changed
    // inside a running process.
    using UiLanguages = std::function<QStringList()>;

    explicit TextLookup(QObject *parent = nullptr);
    explicit TextLookup(UiLanguages systemUiLanguages, QObject *parent = nullptr);
    ~TextLookup() override;

    TextLookup(const TextLookup &) = delete;
    TextLookup &operator=(const TextLookup &) = delete;

    void apply(AppLanguage language);

    AppLanguage language() const { return m_language; }
    // "de" or "en": the table in use; empty before the first apply().
    QString tableCode() const { return m_tableCode; }

    // The table for the device language: the first of German or English in
    // the user's preferences, else English, so that an unsupported system
    // language shows English texts rather than raw ids.
    static QString tableCodeFor(const QStringList &uiLanguages);

    // A text in the system's language whatever the interface language is, so
    // that someone lost in a foreign language still finds their own.
    QString inSystemLanguage(const char *id) const;

signals:
    void languageApplied();

private:
    QString systemTableCode() const;
    void install(const QString &tableCode);

    UiLanguages m_systemUiLanguages;
    std::unique_ptr<QTranslator> m_translator;
    AppLanguage m_language = AppLanguage::device;
    QString m_tableCode;
};

} // namespace vorlie
