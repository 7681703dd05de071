#pragma once

#include <QAccessible>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
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

// Interactive items a screen reader would reach, named or not.
inline QStringList unnamedControls(QQuickItem *root)
{
    QStringList unnamed;
    forEachItem(root, [&](QQuickItem *item) {
        if (!shownOnScreen(item))
            return;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
        if (!iface)
            return;
        switch (iface->role()) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::Link:
        case QAccessible::MenuItem:
            if (iface->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QString::fromLatin1(item->metaObject()->className());
            break;
        default:
            break;
        }
    });
    return unnamed;
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
