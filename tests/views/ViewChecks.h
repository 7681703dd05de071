#pragma once

#include <QAccessible>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <functional>

#include <ostream>

// Readable test failures for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace vorlie::testing {

// Every item below `root`, depth first, in declaration order.
inline void forEachItem(QQuickItem *root, const std::function<void(QQuickItem *)> &visit)
{
    visit(root);
    for (QQuickItem *child : root->childItems())
        forEachItem(child, visit);
}

inline QString accessibleName(QQuickItem *item)
{
    QAccessibleInterface *iface = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    return iface ? iface->text(QAccessible::Name) : QString();
}

inline bool shownOnScreen(const QQuickItem *item)
{
    for (const QQuickItem *at = item; at; at = at->parentItem()) {
        if (!at->isVisible() || at->opacity() <= 0)
            return false;
    }
    return true;
}

// Every object a screen reader reaches from `iface`, in the order it walks them.
inline void forEachAccessible(QAccessibleInterface *iface, const std::function<void(QAccessibleInterface *)> &visit)
{
    visit(iface);
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *child = iface->child(i))
            forEachAccessible(child, visit);
    }
}

inline bool isControl(QAccessible::Role role)
{
    static constexpr QAccessible::Role controls[] = {
        QAccessible::Button, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::EditableText, QAccessible::ComboBox,
        QAccessible::Slider, QAccessible::SpinBox,  QAccessible::Link,        QAccessible::MenuItem};
    return std::find(std::begin(controls), std::end(controls), role) != std::end(controls);
}

// Whether a field that hides what is typed lets a screen reader have it: it
// must say it is a password field, its text and value may hold none of the
// typed characters, and its name and description not the password itself.
inline bool givesAwayPassword(QAccessibleInterface *iface, const QQuickItem *item)
{
    const QString secret = item->property("text").toString();
    if (item->property("echoMode").toInt() == 0 /* TextInput.Normal */ || secret.isEmpty())
        return false;
    QString content = iface->text(QAccessible::Value);
    if (QAccessibleTextInterface *text = iface->textInterface())
        content += text->text(0, text->characterCount());
    const bool contentLeaks = std::any_of(secret.begin(), secret.end(), [&](QChar c) { return content.contains(c); });
    return !iface->state().passwordEdit || contentLeaks || iface->text(QAccessible::Name).contains(secret)
        || iface->text(QAccessible::Description).contains(secret);
}

// What a screen reader would get wrong in `window`, walked as it walks it:
// a control on screen without a name, a named object that is not on screen,
// a password field that gives its text away.
inline QStringList accessibilityFaults(QQuickWindow &window)
{
    // Qt Quick fills in roles, names and states only once accessibility is on.
    QAccessible::setActive(true);
    QStringList faults;
    forEachAccessible(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface *iface) {
        const auto *item = qobject_cast<QQuickItem *>(iface->object());
        if (!item)
            return;
        const QString name = iface->text(QAccessible::Name);
        const QString kind = QString::fromLatin1(item->metaObject()->className());
        const bool shown = !iface->state().invisible && shownOnScreen(item);
        if (shown && isControl(iface->role()) && name.trimmed().isEmpty())
            faults << QStringLiteral("unnamed ") + kind;
        if (!shown && !name.isEmpty())
            faults << QStringLiteral("not on screen but read: ") + name;
        if (givesAwayPassword(iface, item))
            faults << QStringLiteral("readable password in ") + kind;
    });
    return faults;
}

// Whether some text on screen below `root` reads exactly `text`.
inline bool showsText(QQuickItem *root, const QString &text)
{
    bool seen = false;
    forEachItem(root, [&](QQuickItem *item) {
        seen = seen || (item->inherits("QQuickText") && shownOnScreen(item) && item->property("text").toString() == text);
    });
    return seen;
}

// Types as a person would, one key at a time.
inline void typeKeys(QQuickWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

// Text items whose text carries markup characters but would render markup.
inline QStringList markupRenderingTexts(QQuickItem *root)
{
    QStringList offenders;
    forEachItem(root, [&](QQuickItem *item) {
        if (!item->inherits("QQuickText") && !item->inherits("QQuickTextInput") && !item->inherits("QQuickTextEdit"))
            return;
        const QString text = item->property("text").toString();
        const QVariant format = item->property("textFormat");
        if (text.contains(u'<') && format.isValid() && format.toInt() != 0 /* Text.PlainText */)
            offenders << text;
    });
    return offenders;
}

// Writes the window's picture to the build folder, where people look at it.
inline QString saveScreenshot(QQuickWindow &window, const QString &name)
{
    QDir().mkpath(QStringLiteral(VORLIE_SCREENSHOT_DIR));
    const QString path = QStringLiteral(VORLIE_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    window.grabWindow().save(path);
    return path;
}

} // namespace vorlie::testing
