#pragma once

#include <QAccessibleObject>

class QQuickItem;

namespace vorlie {

// What assistive technology sees of a Qt Quick text input. Qt's own
// interface hands the characters of a field that hides them to any client of
// the accessibility bus; this one says such a field is a password field and
// offers one mask character per typed character, never the characters. It
// decides at each question: Qt asks for an item's interface as soon as the
// item has one, before the item's echo mode is set, and keeps the answer.
class TextInputAccessible final : public QAccessibleObject,
                                      public QAccessibleTextInterface,
                                      public QAccessibleActionInterface {
public:
    explicit TextInputAccessible(QQuickItem *field);

    // From now on, for every text input.
    static void install();

    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QWindow *window() const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QQuickItem *field() const;
    QVariant attached(const char *name) const;
    bool hidesText() const;
    // What a screen reader may read of the text.
    QString readable() const;
};

} // namespace vorlie
