#include "platform/NumberField.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <string_view>
#include <utility>

#include "engine/NumberAt.h"
#include "platform/Controls.h"
#include "platform/ScreenReader.h"

namespace {

QString oneLine(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == u'\n' || text[end - 1] == u'\r'))
        --end;
    text.truncate(end);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    return text;
}

// By its key code or by its text, as layouts give one or the other.
bool isDecimalKey(const QKeyEvent* event)
{
    const QString text = event->text();
    return (event->modifiers() & Qt::KeypadModifier) &&
           (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma || text == u"." ||
            text == u",");
}

// An entry of Qt's own menu, as Qt's translation has it (it is Qt's to translate, not ours).
QString qtEntry(const char* text)
{
    return QLineEdit::tr(text);
}

} // namespace

NumberField::NumberField(const QString& text, QWidget* parent) : QLineEdit(text, parent)
{
    readWhole(this);
}

void NumberField::keyPressEvent(QKeyEvent* event)
{
    if (isDecimalKey(event)) {
        QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, event->modifiers() & ~Qt::KeypadModifier,
                        QStringLiteral(","), event->isAutoRepeat());
        keyPressEvent(&comma);
        event->setAccepted(comma.isAccepted());
        return;
    }
    const QString typed = event->text();
    if (OnKeyPress && typed.size() == 1 && typed[0].unicode() < 128) {
        char key = static_cast<char>(typed[0].unicode());
        Guard::run([this, &key] { OnKeyPress(key); });
        if (key == 0)
            return;
    }
    const int code = event->key();
    if (event->matches(QKeySequence::Copy) || code == Qt::Key_Copy) {
        copyToClipboard();
    } else if (event->matches(QKeySequence::Paste) || code == Qt::Key_Paste) {
        // Ctrl+Shift+Insert pastes the selection where there is one, as in any X11 field.
        const bool selection = code == Qt::Key_Insert &&
                               event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
                               QGuiApplication::clipboard()->supportsSelection();
        pasteOneLine(selection ? QClipboard::Selection : QClipboard::Clipboard);
    } else if (event->matches(QKeySequence::Undo)) {
        undoOrRedo(true);
    } else if (event->matches(QKeySequence::Redo) ||
               (code == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
        undoOrRedo(false);
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

void NumberField::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event); // a word, and the wait for a triple click
    if (event->button() != Qt::LeftButton)
        return;
    const QByteArray latin = text().toLatin1(); // one byte a character: numbers are ASCII
    const int place = cursorPositionAt(event->position().toPoint());
    const TextSpan number = NumberAt(std::string_view(latin.constData(), latin.size()),
                                     static_cast<std::size_t>(place));
    if (number.to > number.from)
        setSelection(static_cast<int>(number.from), static_cast<int>(number.to - number.from));
}

void NumberField::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteOneLine(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void NumberField::dropEvent(QDropEvent* event)
{
    QMimeData line;
    if (event->mimeData()->hasText()) {
        const QString text = oneLine(event->mimeData()->text());
        // Moved within the field, a text is the person's own, as it was.
        line.setText(OnPaste && event->source() != this ? OnPaste(text) : text);
    }
    QDropEvent drop(event->position(), event->possibleActions(), &line, event->buttons(),
                    event->modifiers());
    drop.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
}

// Qt's own menu, its entries doing what their keys do.
void NumberField::contextMenuEvent(QContextMenuEvent* event)
{
    const std::pair<QString, std::function<void()>> ours[] = {
        {qtEntry("&Undo"), [this] { undoOrRedo(true); }},
        {qtEntry("&Redo"), [this] { undoOrRedo(false); }},
        {qtEntry("&Copy"), [this] { copyToClipboard(); }},
        {qtEntry("&Paste"), [this] { pasteOneLine(QClipboard::Clipboard); }},
    };
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions())
        for (const auto& [caption, handler] : ours)
            if (action->text().startsWith(caption)) {
                action->disconnect(this);
                connect(action, &QAction::triggered, this, handler);
                // Copy is there with nothing selected where it has a field to copy.
                if (copySource && caption == qtEntry("&Copy"))
                    action->setEnabled(true);
            }
    menu->popup(event->globalPos());
}

// What comes back is not left selected, as after typing: C or "<--" undone
// gives back a text to go on typing after, not one that the next key replaces.
void NumberField::undoOrRedo(bool undoing)
{
    if (isReadOnly())
        return;
    undoing ? undo() : redo();
    deselect();
}

void NumberField::copyToClipboard()
{
    if (hasSelectedText() || !copySource)
        copy();
    else
        QGuiApplication::clipboard()->setText(copySource->text());
}

void NumberField::pasteOneLine(QClipboard::Mode mode)
{
    QString line = oneLine(QGuiApplication::clipboard()->text(mode));
    if (OnPaste)
        line = OnPaste(line);
    if (isReadOnly() || (line.isEmpty() && !hasSelectedText()))
        return;
    CloseUndoStep(this); // a paste is an undo step of its own, as Qt's is
    insert(line);
    CloseUndoStep(this);
}
