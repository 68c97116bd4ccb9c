#include "platform/Controls.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

void later(QObject* context, const std::function<void()>& handler)
{
    QMetaObject::invokeMethod(
        context, [handler] { Guard::run(handler); }, Qt::QueuedConnection);
}

// Runs a handler later, once no mouse button is held any more.
class AfterRelease : public QObject {
public:
    AfterRelease(QObject* context, std::function<void()> handler)
        : QObject(context), handler(std::move(handler))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            QGuiApplication::mouseButtons() == Qt::NoButton) {
            qApp->removeEventFilter(this);
            later(parent(), handler);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> handler;
};

// Watches a field for the keyboard leaving it for another control.
class LeaveWatcher : public QObject {
public:
    LeaveWatcher(QLineEdit* field, std::function<void()> handler)
        : QObject(field), handler(std::move(handler))
    {
        field->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::FocusOut)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            later(parent(), handler);
        else
            new AfterRelease(parent(), handler);
        return false;
    }

private:
    std::function<void()> handler;
};

} // namespace

std::string GetText(const QLineEdit* field)
{
    return field->text().toStdString();
}

void SetText(QLineEdit* field, const std::string& text, ShowFrom from)
{
    const QString shown = QString::fromStdString(text);
    if (shown != field->text()) {
        field->setText(shown); // leaves the cursor, and so the view, at the end
        if (from == ShowFrom::Start)
            field->setCursorPosition(0);
    }
    Guard::rethrowPending();
}

void OnEditingDone(QLineEdit* field, std::function<void()> handler)
{
    QObject::connect(field, &QLineEdit::returnPressed, field,
                     [field, handler] { later(field, handler); });
    new LeaveWatcher(field, std::move(handler));
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
