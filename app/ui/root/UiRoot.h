#pragma once

#include "AppServices.h"
#include "Appearance.h"
#include "ViewEngine.h"

#include <QObject>
#include <QQmlEngine>
#include <QUrl>
#include <QVariantMap>
#include <memory>

class QQuickWindow;

namespace vorlie {

class AvatarImages;
class Motion;
class Symbols;
class ThemeColor;
class ThemeFont;

// The Qt Quick side of the composition root: one QML engine with every
// screen module, the theme and avatar objects its singletons hand out, the
// services its presenters find, picture loading through the avatar network,
// every open view retranslated when the interface language changes, and
// text inputs that never hand a password to assistive technology.
class UiRoot : public QObject {
    Q_OBJECT

public:
    explicit UiRoot(AppServices::Parts parts, std::unique_ptr<ViewEngine> views = std::make_unique<ViewEngine>(),
                    QObject *parent = nullptr);
    ~UiRoot() override;

    QQmlEngine &engine() { return m_views->engine(); }
    Appearance &appearance() { return *m_appearance; }
    AvatarImages &avatarImages() { return *m_avatarImages; }

    // Creates a QML object from one of the modules' files; null (with the
    // errors on stderr) when it cannot be created. The caller owns it.
    QObject *create(const QUrl &url, const QVariantMap &initialProperties = {});
    // The same for a file whose root is a Window.
    QQuickWindow *createWindow(const QUrl &url, const QVariantMap &initialProperties = {});

private:
    std::unique_ptr<Appearance> m_appearance;
    std::unique_ptr<ThemeColor> m_themeColor;
    std::unique_ptr<ThemeFont> m_themeFont;
    std::unique_ptr<Symbols> m_symbols;
    std::unique_ptr<Motion> m_motion;
    std::unique_ptr<AvatarImages> m_avatarImages;
    std::unique_ptr<AppServices> m_services;
    std::unique_ptr<ViewEngine> m_views; // last: goes first, before what it shows
};

} // namespace vorlie
