#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <functional>

// A one-line field that shows or takes numbers. A double click selects the
// whole number under the pointer, sign, decimal commas and exponent included
// ("-1,5E-7"), and a word elsewhere; a triple click selects the field. The
// keypad's decimal key types ",", the decimal mark of every number here,
// whatever the keyboard layout. A text pasted or dropped arrives as one line:
// line breaks at its end go, the others and tabs become blanks, so nothing
// unseen stays in the field. Ctrl+Y redoes, as Ctrl+Shift+Z does, and what
// an undo or redo brings back is not left selected.
class NumberField : public QLineEdit {
public:
    NumberField(const QString& text, QWidget* parent);

    // Copy with nothing selected here copies that field's text instead of nothing.
    void copyWhenNothingSelected(const QLineEdit* field) { copySource = field; }

    // Runs for every character typed, Enter as 13, before the field takes it;
    // a handler that sets it to 0 keeps it out of the field.
    std::function<void(char& key)> OnKeyPress;

    // Turns what a paste or a drop from elsewhere brings, one line by then,
    // into what goes into the field.
    std::function<QString(const QString& line)> OnPaste;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void undoOrRedo(bool undoing);
    void copyToClipboard();
    void pasteOneLine(QClipboard::Mode mode);

    const QLineEdit* copySource = nullptr;
};
