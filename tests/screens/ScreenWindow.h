#pragma once

#include "UiRoot.h"
#include "views/ViewChecks.h"
#include "views/ViewWorld.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <memory>

namespace vorlie::testing {

inline const QUrl mainWindow(QStringLiteral("qrc:/Vorlie/Main/MainWindow.qml"));

// One of the app's windows from its module file, shown and focused as a
// person would find it, with motion reduced so that nothing waits on animations.
class ScreenWindow {
public:
    ScreenWindow(UiRoot &ui, const QUrl &file)
    {
        ui.appearance().setReduceMotion(true);
        m_window.reset(ui.createWindow(file));
        if (!m_window)
            return;
        m_window->show();
        m_window->requestActivate();
        ViewWorld::spinUntil([this] { return m_window->isExposed() && m_window->isActive(); });
    }

    QQuickWindow *get() const { return m_window.get(); }
    explicit operator bool() const { return m_window != nullptr; }

    // The first item of that objectName, anywhere in the window (sheets included).
    QQuickItem *find(const QString &objectName) const
    {
        QQuickItem *found = nullptr;
        forEachItem(m_window->contentItem(), [&](QQuickItem *item) {
            if (!found && item->objectName() == objectName)
                found = item;
        });
        return found;
    }

    // Waits until the item of that objectName is on screen; it then, or null.
    QQuickItem *awaitShown(const QString &objectName) const
    {
        QQuickItem *item = nullptr;
        return ViewWorld::spinUntil([&] { return shownOnScreen(item = find(objectName)); }) ? item : nullptr;
    }

    // At the sign-in form, from the keyboard: the e-mail, Return, then the
    // password once its field has the focus. The password field, or null
    // when the focus never got there.
    QQuickItem *typeSignIn(const QString &email, const QString &password) const
    {
        QQuickItem *emailField = find(QStringLiteral("emailField"));
        if (!ViewWorld::spinUntil([&] { return emailField && emailField->hasActiveFocus(); }))
            return nullptr;
        typeKeys(m_window.get(), email);
        QTest::keyClick(m_window.get(), Qt::Key_Return);
        QQuickItem *passwordField = find(QStringLiteral("passwordField"));
        if (!ViewWorld::spinUntil([&] { return passwordField && passwordField->hasActiveFocus(); }))
            return nullptr;
        typeKeys(m_window.get(), password);
        return passwordField;
    }

    // Whether some text on screen reads exactly `text`.
    bool shows(const QString &text) const { return showsText(m_window->contentItem(), text); }

    // Once the avatar pictures have arrived and faded in, into the build folder.
    void screenshot(const QString &name) const
    {
        awaitPictures(m_window->contentItem());
        saveScreenshot(*m_window, name);
    }

private:
    std::unique_ptr<QQuickWindow> m_window;
};

} // namespace vorlie::testing
