#include "platform/Controls.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

void later(QObject* context, const std::function<void()>& handler)
{
    QMetaObject::invokeMethod(
        context, [handler] { Guard::run(handler); }, Qt::QueuedConnection);
}

// Shows every event of an object to a function, for as long as it returns true.
class Watcher : public QObject {
public:
    Watcher(QObject* watched, QObject* owner, std::function<bool(QEvent*)> watch)
        : QObject(owner), watched(watched), watch(std::move(watch))
    {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (watch && !watch(event)) {
            watch = nullptr;
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QObject* watched;
    std::function<bool(QEvent*)> watch;
};

// Runs a handler later, once no mouse button is held any more.
void afterRelease(QObject* context, const std::function<void()>& handler)
{
    new Watcher(qApp, context, [context, handler](QEvent* event) {
        if (event->type() != QEvent::MouseButtonRelease ||
            QGuiApplication::mouseButtons() != Qt::NoButton)
            return true;
        later(context, handler);
        return false;
    });
}

} // namespace

std::string GetText(const QLineEdit* field)
{
    return field->text().toStdString();
}

void SetText(QLineEdit* field, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (shown != field->text()) {
        field->setText(shown);
        field->setCursorPosition(0);
    }
    Guard::rethrowPending();
}

void EditText(QLineEdit* field, const std::string& text)
{
    const QString wanted = QString::fromStdString(text);
    const QString shown = field->text();
    if (wanted.isEmpty()) {
        field->clear(); // an edit that also ends its undo step, which no move can in an empty field
    } else if (wanted != shown) {
        qsizetype same = 0;
        while (same < wanted.size() && same < shown.size() && wanted[same] == shown[same])
            ++same;
        if (same > 0 && shown[same - 1].isHighSurrogate())
            --same; // a character outside the BMP goes whole
        if (same < shown.size()) {
            field->setSelection(static_cast<int>(same), static_cast<int>(shown.size() - same));
        } else {
            field->end(false);
            CloseUndoStep(field);
        }
        field->insert(wanted.mid(same));
        CloseUndoStep(field);
    }
    Guard::rethrowPending();
}

// QLineEdit ends an undo step when its cursor moves and offers no other way
// to; a selection, which a move would drop, ends one by itself.
void CloseUndoStep(QLineEdit* field)
{
    if (field->hasSelectedText() || field->text().isEmpty())
        return;
    const int at = field->cursorPosition();
    field->setCursorPosition(at > 0 ? at - 1 : at + 1);
    field->setCursorPosition(at);
}

void OnEditingDone(QLineEdit* field, std::function<void()> handler)
{
    QObject::connect(field, &QLineEdit::returnPressed, field,
                     [field, handler] { later(field, handler); });
    // The keyboard leaving for another control of the window.
    new Watcher(field, field, [field, handler = std::move(handler)](QEvent* event) {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return true;
            if (QGuiApplication::mouseButtons() == Qt::NoButton)
                later(field, handler);
            else
                afterRelease(field, handler);
        }
        return true;
    });
}

QFont SansFont(int pixelHeight, bool bold, bool italic)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
