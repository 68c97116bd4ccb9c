#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QLineEdit>
#include <functional>
#include <string>
#include <utility>

#include "platform/Guard.h"

// A field's whole text, as UTF-8.
std::string GetText(const QLineEdit* field);

// Replaces a field's text, shown from its first character, where a number or
// a postfix text is read from. When the text changes, the field's change
// handler runs at once, nested; a failure in it ends the caller too. A text
// equal to the field's own changes nothing, not even where its cursor is.
void SetText(QLineEdit* field, const std::string& text);

// As SetText, but as an edit of its own that Ctrl+Z undoes, as the person's
// are (SetText forgets what can be undone), shown at its end, where an
// expression is built. Only what differs at the end is replaced: an append
// adds, an erase removes.
void EditText(QLineEdit* field, const std::string& text);

// Ends the undo step being typed, so that the next edit is one of its own.
void CloseUndoStep(QLineEdit* field);

// The platform's default sans-serif family at a character height in pixels.
QFont SansFont(int pixelHeight, bool bold = false, bool italic = false);

// Guarded connections from a control's event to a handler.
template <typename Handler> void OnClick(QAbstractButton* button, Handler handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [handler = std::move(handler)] { Guard::run(handler); });
}

template <typename Handler> void OnChange(QLineEdit* field, Handler handler)
{
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [handler = std::move(handler)] { Guard::run(handler); });
}

// The person is done with a field: Enter, or another control of the same
// window takes the keyboard. A box or another window coming up in front does
// not count; the person comes back to the field as they left it. The handler
// runs from the event loop once the focus change is over, and after the
// release when a mouse press took the keyboard away, so that a box it shows
// never cuts a click in two.
void OnEditingDone(QLineEdit* field, std::function<void()> handler);
