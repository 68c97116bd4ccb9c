#include "platform/Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QWindow>
#include <cstdio>
#include <utility>

#include "platform/Guard.h"

namespace {

std::vector<MessageLog::Entry> entries;
bool headlessMode = false;
QWidget* ownerOverride = nullptr;

QWidget* owner()
{
    if (ownerOverride)
        return ownerOverride;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // No window manager (a bare X server) may leave none active: the window shown.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog) &&
            !qobject_cast<QMessageBox*>(window))
            return window;
    }
    return nullptr;
}

// Where the style puts an icon on dialog buttons, it makes a new one for every
// box, and Qt's pixmap cache keeps a copy of each one drawn: 2 KB a box, up to
// the cache's 10 MB. The boxes share the first one's, kept with the style,
// which goes before the application.
void shareOkIcon(QAbstractButton* ok)
{
    const char* const kKept = "calculator.okIcon";
    if (ok->icon().isNull())
        return;
    const QVariant kept = ok->style()->property(kKept);
    if (kept.isValid())
        ok->setIcon(kept.value<QIcon>());
    else
        ok->style()->setProperty(kKept, QVariant::fromValue(ok->icon()));
}

void openBox(QWidget* parent, bool error, const std::string& text)
{
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QStringLiteral("Calculator"), QString::fromStdString(text), QMessageBox::Ok,
                    parent);
    box.setObjectName(error ? "ErrorBox" : "MessageBox");
    shareOkIcon(box.button(QMessageBox::Ok));
    Guard::NestedLoop loop;
    box.exec();
}

// Opens a box once its window is on screen, or without a window if that
// closes first. From the event loop, not from within the window's event.
class OnceShown : public QObject {
public:
    // Goes with the window's handle if that goes first.
    OnceShown(QWidget* window, bool error, std::string text)
        : QObject(window->windowHandle()), window(window), error(error), text(std::move(text))
    {
        window->windowHandle()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool shown = event->type() == QEvent::Expose && window && window->windowHandle() &&
                           window->windowHandle()->isExposed();
        if (shown || event->type() == QEvent::Hide) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this, shown] {
                    openBox(shown ? window.data() : nullptr, error, text);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPointer<QWidget> window;
    bool error;
    std::string text;
};

void show(bool error, const std::string& text)
{
    if (headlessMode) {
        entries.push_back({error, text});
        return;
    }
    if (!qApp) { // no window system (yet): the terminal is all there is
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    QWidget* window = owner();
    if (window && window->isVisible() && window->windowHandle() &&
        !window->windowHandle()->isExposed()) {
        new OnceShown(window, error, text);
        return;
    }
    openBox(window, error, text);
}

} // namespace

MessageOwner::MessageOwner(QWidget* window) : saved(std::exchange(ownerOverride, window)) {}

MessageOwner::~MessageOwner()
{
    ownerOverride = saved;
}

void ShowMessage(const std::string& text)
{
    show(false, text);
}

void ShowError(const std::string& text)
{
    show(true, text);
}

namespace MessageLog {

const std::vector<Entry>& shown()
{
    return entries;
}

void clear()
{
    entries.clear();
}

void setHeadless(bool headless)
{
    headlessMode = headless;
}

} // namespace MessageLog
