#include "UiRoot.h"

#include "AppRouter.h"
#include "AvatarImages.h"
#include "AvatarNetwork.h"
#include "EngineObjects.h"
#include "Motion.h"
#include "TextInputAccessible.h"
#include "Symbols.h"
#include "ThemeColor.h"
#include "ThemeFont.h"
#include "i18n/TextLookup.h"

#include <QQmlComponent>
#include <QQmlExtensionPlugin>
#include <QQuickWindow>

Q_IMPORT_QML_PLUGIN(Vorlie_ThemePlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_AvatarPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_PresentationPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_PanelPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_SignInPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_SettingsPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_MainPlugin)

namespace vorlie {
namespace {

// One factory for the process: the engine keeps a pointer to it.
AvatarNetworkFactory &avatarNetworkFactory()
{
    static AvatarNetworkFactory factory;
    return factory;
}

} // namespace

UiRoot::UiRoot(AppServices::Parts parts, QObject *parent)
    : QObject(parent)
    , m_appearance(std::make_unique<Appearance>())
    , m_themeColor(std::make_unique<ThemeColor>(*m_appearance))
    , m_themeFont(std::make_unique<ThemeFont>())
    , m_symbols(std::make_unique<Symbols>())
    , m_motion(std::make_unique<Motion>(*m_appearance))
    , m_avatarImages(std::make_unique<AvatarImages>())
    , m_services(std::make_unique<AppServices>(std::move(parts)))
    , m_engine(std::make_unique<QQmlEngine>())
{
    TextInputAccessible::install();
    m_engine->setNetworkAccessManagerFactory(&avatarNetworkFactory());
    // The screen modules are compiled in, under the resource root.
    m_engine->addImportPath(QStringLiteral("qrc:/"));
    for (QObject *object : std::initializer_list<QObject *>{m_themeColor.get(), m_themeFont.get(), m_symbols.get(),
                                                            m_motion.get(), m_avatarImages.get(), m_services.get(),
                                                            &m_services->router()}) {
        provideToQml(*m_engine, object);
    }
    connect(&m_services->textLookup(), &TextLookup::languageApplied, m_engine.get(), &QQmlEngine::retranslate);
}

UiRoot::~UiRoot() = default;

QObject *UiRoot::create(const QUrl &url, const QVariantMap &initialProperties)
{
    QQmlComponent component(m_engine.get(), url);
    QObject *object = component.isReady() ? component.createWithInitialProperties(initialProperties) : nullptr;
    if (!object) {
        for (const QQmlError &error : component.errors())
            qWarning().noquote() << error.toString();
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership);
    return object;
}

QQuickWindow *UiRoot::createWindow(const QUrl &url, const QVariantMap &initialProperties)
{
    QObject *object = create(url, initialProperties);
    auto *window = qobject_cast<QQuickWindow *>(object);
    if (object && !window) {
        qWarning().noquote() << url.toString() << "is not a window";
        delete object;
    }
    return window;
}

} // namespace vorlie
