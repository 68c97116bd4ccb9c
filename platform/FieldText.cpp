// A one-line field as screen readers see it, as Qt 6.4's own line edit
// interface has it but for two faults found by asking the running program
// what Orca asks:
//
// - Orca splits a text into runs of like attributes before it speaks it, and
//   ends the last run where the attributes of the last character end. Qt
//   answers "the attributes at offset n" with an empty run from n to n, so
//   the last run ends one character short: "12345" was spoken "1234", "20"
//   "2". A field's text has no attributes: here it is one run, whole.
// - Asked for the word or the sentence at the very end of the text, Qt's
//   search for the next boundary never ends, and the program hangs. Here that
//   is the word or sentence the end closes.

#include "platform/FieldText.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

namespace {

class FieldText : public QAccessibleWidget,
                  public QAccessibleTextInterface,
                  public QAccessibleEditableTextInterface {
public:
    explicit FieldText(QLineEdit* field) : QAccessibleWidget(field, QAccessible::EditableText)
    {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value && !field()->text().isEmpty())
            return field()->text();
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString& text) override
    {
        if (kind != QAccessible::Value)
            QAccessibleWidget::setText(kind, text);
        else if (!field()->isReadOnly())
            field()->setText(text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = field()->isReadOnly();
        state.editable = !field()->isReadOnly();
        state.selectable = true;
        state.selected = field()->hasSelectedText();
        state.hasPopup = field()->contextMenuPolicy() != Qt::NoContextMenu &&
                         field()->contextMenuPolicy() != Qt::PreventContextMenu;
        return state;
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0)
            return;
        *startOffset = field()->selectionStart();
        *endOffset = *startOffset + static_cast<int>(field()->selectedText().size());
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            field()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            field()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return field()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(field()->text().size()); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override
    {
        offset = caretWhereAsked(offset);
        const bool searched = boundaryType == QAccessible::WordBoundary ||
                              boundaryType == QAccessible::SentenceBoundary;
        if (searched && offset == characterCount() && offset > 0)
            --offset;
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override
    {
        return QAccessibleTextInterface::textBeforeOffset(caretWhereAsked(offset), boundaryType,
                                                          startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override
    {
        return QAccessibleTextInterface::textAfterOffset(caretWhereAsked(offset), boundaryType,
                                                         startOffset, endOffset);
    }

    // Where the character is drawn while the field is not scrolled, which a
    // field scrolls only for a text wider than itself.
    QRect characterRect(int offset) const override
    {
        const QString character = text(offset, offset + 1);
        if (offset < 0 || character.isEmpty())
            return {};
        const QFontMetrics metrics(field()->font());
        const QRect inside = field()->contentsRect().marginsRemoved(field()->textMargins());
        const int left =
            inside.left() + kTextIndent + metrics.horizontalAdvance(field()->text().left(offset));
        const int top = inside.top() + (inside.height() - metrics.height()) / 2;
        const QRect place(left, top, metrics.horizontalAdvance(character), metrics.height());
        return place.translated(field()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return field()->cursorPositionAt(field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        field()->setCursorPosition(endIndex);
        field()->setCursorPosition(startIndex);
    }

    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        if (field()->isReadOnly() || startOffset < 0 || endOffset < startOffset ||
            endOffset > characterCount())
            return;
        // As typed: an undo step of its own, the cursor after it.
        field()->setSelection(startOffset, endOffset - startOffset);
        field()->insert(text);
    }

private:
    static constexpr int kTextIndent = 2; // between a line edit's frame and its text

    QLineEdit* field() const { return static_cast<QLineEdit*>(widget()); }

    // -2 asks at the cursor.
    int caretWhereAsked(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

} // namespace

QAccessibleInterface* newFieldText(QLineEdit* field)
{
    return new FieldText(field);
}
