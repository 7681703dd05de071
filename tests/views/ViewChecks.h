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

// Whether `item` is there and nothing hides it; a missing one is not shown.
inline bool shownOnScreen(const QQuickItem *item)
{
    for (const QQuickItem *at = item; at; at = at->parentItem()) {
        if (!at->isVisible() || at->opacity() <= 0)
            return false;
    }
    return item != nullptr;
}

// Drawn with nothing of it faded: no item on its way up is translucent.
inline bool fullyOpaque(const QQuickItem *item)
{
    for (const QQuickItem *at = item; at; at = at->parentItem()) {
        if (at->opacity() < 1)
            return false;
    }
    return item != nullptr;
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

// What a screen reader would get wrong in `window`, walked as it walks it:
// a control on screen without a name, a named object that is not on screen.
// (A password field's text: read over AT-SPI, as a reader gets it.)
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
    });
    return faults;
}

// The items on screen below `root` that `match`, in declaration order.
inline QList<QQuickItem *> shownItems(QQuickItem *root, const std::function<bool(QQuickItem *)> &match)
{
    QList<QQuickItem *> found;
    forEachItem(root, [&](QQuickItem *item) {
        if (shownOnScreen(item) && match(item))
            found << item;
    });
    return found;
}

// Those whose accessible role and name match; any name for an empty one.
inline QList<QQuickItem *> shownWith(QQuickItem *root, QAccessible::Role role, const QString &name = {})
{
    return shownItems(root, [&](QQuickItem *item) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
        return iface && iface->role() == role && (name.isEmpty() || iface->text(QAccessible::Name) == name);
    });
}

// Whether some text on screen below `root` reads exactly `text`.
inline bool showsText(QQuickItem *root, const QString &text)
{
    return !shownItems(root, [&](QQuickItem *item) {
        return item->inherits("QQuickText") && item->property("text").toString() == text;
    }).isEmpty();
}

// Types as a person would, one key at a time.
inline void typeKeys(QQuickWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

// Texts that carry markup characters in an item that would render markup
// (only those with a text format can).
inline QStringList markupRenderingTexts(QQuickItem *root)
{
    QStringList offenders;
    forEachItem(root, [&](QQuickItem *item) {
        const QString text = item->property("text").toString();
        const QVariant format = item->property("textFormat");
        if (text.contains(u'<') && format.isValid() && format.toInt() != 0 /* Text.PlainText */)
            offenders << text;
    });
    return offenders;
}

// Waits until every avatar picture below `root` has arrived and faded all the way in.
inline bool awaitPictures(QQuickItem *root)
{
    return QTest::qWaitFor([root] {
        bool settling = false;
        forEachItem(root, [&](QQuickItem *item) {
            const int status = item->property("status").toInt(); // 1 loading, 2 ready
            settling = settling || (item->inherits("vorlie::RoundImage") && (status == 1 || (status == 2 && item->opacity() < 1)));
        });
        return !settling;
    });
}

// Writes the window's picture to the build folder, where people look at it.
inline void saveScreenshot(QQuickWindow &window, const QString &name)
{
    QDir().mkpath(QStringLiteral(VORLIE_SCREENSHOT_DIR));
    window.grabWindow().save(QStringLiteral(VORLIE_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

} // namespace vorlie::testing
