#include "TextLookup.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

// The tables are compiled into the static core library; without this the
// linker may drop their registration from a consumer.
static void initTranslationResources()
{
    Q_INIT_RESOURCE(vorlie_core_translations);
}

namespace vorlie {

TextLookup::TextLookup(QObject *parent)
    : TextLookup([] { return QLocale::system().uiLanguages(); }, parent)
{
}

TextLookup::TextLookup(UiLanguages systemUiLanguages, QObject *parent)
    : QObject(parent), m_systemUiLanguages(std::move(systemUiLanguages))
{
    initTranslationResources();
}

TextLookup::~TextLookup()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QString TextLookup::tableCodeFor(const QStringList &uiLanguages)
{
    for (const QString &tag : uiLanguages) {
        const QString primary = tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (primary == QLatin1String("de") || primary == QLatin1String("en"))
            return primary;
    }
    return QStringLiteral("en");
}

QString TextLookup::systemTableCode() const
{
    return tableCodeFor(m_systemUiLanguages ? m_systemUiLanguages() : QStringList());
}

QString TextLookup::inSystemLanguage(const char *id) const
{
    QTranslator table;
    if (table.load(QStringLiteral(":/i18n/vorlie_%1.qm").arg(systemTableCode()))) {
        const QString text = table.translate(nullptr, id);
        if (!text.isEmpty())
            return text;
    }
    return qtTrId(id);
}

void TextLookup::apply(AppLanguage language)
{
    QString code;
    switch (language) {
    case AppLanguage::german: code = QStringLiteral("de"); break;
    case AppLanguage::english: code = QStringLiteral("en"); break;
    case AppLanguage::device: code = systemTableCode(); break;
    }
    if (language == m_language && code == m_tableCode)
        return;
    m_language = language;
    install(code);
    emit languageApplied();
}

void TextLookup::install(const QString &tableCode)
{
    auto next = std::make_unique<QTranslator>();
    const bool loaded = next->load(QStringLiteral(":/i18n/vorlie_%1.qm").arg(tableCode));
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_tableCode.clear();
    // A missing table leaves the texts written in the code, never a stale
    // table of the previous language.
    if (loaded && QCoreApplication::installTranslator(next.get())) {
        m_translator = std::move(next);
        m_tableCode = tableCode;
    }
}

} // namespace vorlie
