#include "TextInputAccessible.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStyleHints>
#include <mutex>

namespace vorlie {
namespace {

constexpr int normalEcho = 0; // TextInput.Normal

// Qt asks once for each class of the object's chain, most derived first, so
// this answers before Qt Quick's own factory, which waits for QQuickItem.
QAccessibleInterface *textInputFactory(const QString &, QObject *object)
{
    auto *item = qobject_cast<QQuickItem *>(object);
    return item && item->inherits("QQuickTextInput") ? new TextInputAccessible(item) : nullptr;
}

} // namespace

TextInputAccessible::TextInputAccessible(QQuickItem *field)
    : QAccessibleObject(field)
{
}

void TextInputAccessible::install()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(textInputFactory); });
}

QQuickItem *TextInputAccessible::field() const
{
    return static_cast<QQuickItem *>(object());
}

QVariant TextInputAccessible::attached(const char *name) const
{
    return QQmlProperty(field(), QStringLiteral("Accessible.") + QLatin1String(name), qmlContext(field())).read();
}

bool TextInputAccessible::hidesText() const
{
    return field()->property("echoMode").toInt() != normalEcho;
}

QString TextInputAccessible::readable() const
{
    if (!hidesText())
        return field()->property("text").toString();
    QString mask = field()->property("passwordCharacter").toString();
    if (mask.isEmpty())
        mask = QGuiApplication::styleHints()->passwordMaskCharacter();
    return mask.left(1).repeated(characterCount());
}

QAccessibleInterface *TextInputAccessible::parent() const
{
    // The nearest item a screen reader knows, or the window in place of its content item.
    QQuickWindow *window = field()->window();
    for (QQuickItem *up = field()->parentItem(); up; up = up->parentItem()) {
        if (window && up == window->contentItem())
            return QAccessible::queryAccessibleInterface(window);
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(up))
            return iface;
    }
    return nullptr;
}

QAccessibleInterface *TextInputAccessible::child(int) const
{
    return nullptr;
}

int TextInputAccessible::childCount() const
{
    return 0;
}

int TextInputAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QWindow *TextInputAccessible::window() const
{
    return field()->window();
}

QRect TextInputAccessible::rect() const
{
    if (state().invisible)
        return {};
    const QQuickItem *item = field();
    return QRect(item->mapToGlobal(QPointF(0, 0)).toPoint(), QSize(qRound(item->width()), qRound(item->height())));
}

QAccessible::Role TextInputAccessible::role() const
{
    return QAccessible::EditableText;
}

QAccessible::State TextInputAccessible::state() const
{
    const QQuickItem *item = field();
    QAccessible::State state;
    state.passwordEdit = hidesText();
    state.readOnly = item->property("readOnly").toBool();
    state.editable = !state.readOnly;
    state.disabled = !item->isEnabled();
    state.focusable = item->activeFocusOnTab();
    state.focused = item->hasActiveFocus();
    state.invisible = !item->window() || !item->window()->isVisible() || !item->isVisible()
        || qFuzzyIsNull(item->opacity());
    return state;
}

QString TextInputAccessible::text(QAccessible::Text kind) const
{
    switch (kind) {
    case QAccessible::Name: {
        // Without a name of its own, the placeholder says what belongs in it.
        const QString name = attached("name").toString();
        return name.isEmpty() ? field()->property("placeholderText").toString() : name;
    }
    case QAccessible::Description: {
        const QString description = attached("description").toString();
        return description == text(QAccessible::Name) ? QString() : description;
    }
    case QAccessible::Value:
        return readable();
    default:
        return {};
    }
}

void *TextInputAccessible::interface_cast(QAccessible::InterfaceType type)
{
    switch (type) {
    case QAccessible::TextInterface:
        return static_cast<QAccessibleTextInterface *>(this);
    case QAccessible::ActionInterface:
        return static_cast<QAccessibleActionInterface *>(this);
    default:
        return nullptr;
    }
}

void TextInputAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const bool first = selectionIndex == 0 && selectionCount() == 1;
    *startOffset = first ? field()->property("selectionStart").toInt() : 0;
    *endOffset = first ? field()->property("selectionEnd").toInt() : 0;
}

int TextInputAccessible::selectionCount() const
{
    return field()->property("selectionStart") != field()->property("selectionEnd") ? 1 : 0;
}

void TextInputAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextInputAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        QMetaObject::invokeMethod(field(), "deselect");
}

void TextInputAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        QMetaObject::invokeMethod(field(), "select", Q_ARG(int, startOffset), Q_ARG(int, endOffset));
}

int TextInputAccessible::cursorPosition() const
{
    return field()->property("cursorPosition").toInt();
}

void TextInputAccessible::setCursorPosition(int position)
{
    field()->setProperty("cursorPosition", position);
}

QString TextInputAccessible::text(int startOffset, int endOffset) const
{
    return readable().mid(startOffset, endOffset - startOffset);
}

int TextInputAccessible::characterCount() const
{
    return field()->property("length").toInt();
}

QRect TextInputAccessible::characterRect(int) const
{
    return {};
}

int TextInputAccessible::offsetAtPoint(const QPoint &) const
{
    return -1;
}

void TextInputAccessible::scrollToSubstring(int, int)
{
}

QString TextInputAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QStringList TextInputAccessible::actionNames() const
{
    return {setFocusAction()};
}

void TextInputAccessible::doAction(const QString &actionName)
{
    if (actionName == setFocusAction())
        field()->forceActiveFocus(Qt::OtherFocusReason);
}

QStringList TextInputAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}

} // namespace vorlie
