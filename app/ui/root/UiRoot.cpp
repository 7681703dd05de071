#include "UiRoot.h"

#include "AppRouter.h"
#include "AvatarImages.h"
#include "EngineObjects.h"
#include "Motion.h"
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

UiRoot::UiRoot(AppServices::Parts parts, std::unique_ptr<ViewEngine> views, QObject *parent)
    : QObject(parent)
    , m_appearance(std::make_unique<Appearance>())
    , m_themeColor(std::make_unique<ThemeColor>(*m_appearance))
    , m_themeFont(std::make_unique<ThemeFont>())
    , m_symbols(std::make_unique<Symbols>())
    , m_motion(std::make_unique<Motion>(*m_appearance))
    , m_avatarImages(std::make_unique<AvatarImages>())
    , m_services(std::make_unique<AppServices>(std::move(parts)))
    , m_views(std::move(views))
{
    for (QObject *object : std::initializer_list<QObject *>{m_themeColor.get(), m_themeFont.get(), m_symbols.get(),
                                                            m_motion.get(), m_avatarImages.get(), m_services.get(),
                                                            &m_services->router()}) {
        provideToQml(engine(), object);
    }
    connect(&m_services->textLookup(), &TextLookup::languageApplied, &engine(), &QQmlEngine::retranslate);
}

UiRoot::~UiRoot() = default;

QObject *UiRoot::create(const QUrl &url, const QVariantMap &initialProperties)
{
    QQmlComponent component(&engine(), url);
    m_views->letGo(url);
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
