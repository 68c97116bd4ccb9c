#include "platform/Form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>

#include "platform/Guard.h"
#include "platform/Messages.h"
#include "platform/ScreenReader.h"

TForm::TForm() : QWidget(nullptr, Qt::Window)
{
    setAccessibleRole(this, QAccessible::Window);
}

int TForm::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop = &loop;
    Guard::NestedLoop nested;
    show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    modalLoop = nullptr;
    return 0;
}

void TForm::setPopupParent(TForm* parent)
{
    popupParent = parent;
    // Set before the window exists: changing the type of a shown window hides it.
    setWindowFlag(Qt::Dialog, parent != nullptr);
    setAccessibleRole(this, parent ? QAccessible::Dialog : QAccessible::Window);
}

void TForm::placeOverPopupParent()
{
    if (!popupParent || !popupParent->isVisible() || !popupParent->windowHandle())
        return;
    windowHandle()->setTransientParent(popupParent->windowHandle());
    QRect place(QPoint(0, 0), frameGeometry().size());
    place.moveCenter(popupParent->frameGeometry().center());
    // Whole on the parent's screen where it fits, its top left corner where not.
    const QRect screen = popupParent->screen()->availableGeometry();
    const auto within = [](int at, int from, int room, int size) {
        return std::max(from, std::min(at, from + room - size));
    };
    move(within(place.left(), screen.left(), screen.width(), place.width()),
         within(place.top(), screen.top(), screen.height(), place.height()));
}

void TForm::showEvent(QShowEvent* event)
{
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        button->installEventFilter(this); // once each: Qt drops a filter installed before
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    placeOverPopupParent();
    // Not yet in front when its show handler runs: a box it raises is its own.
    const MessageOwner owner(this);
    Guard::run([this] { FormShow(); });
}

void TForm::closeEvent(QCloseEvent* event)
{
    Guard::run([this] { FormClose(); });
    QWidget::closeEvent(event);
    // Closed, the native window goes; Qt 6.4 then forgets that it had the
    // keyboard without undoing what it connected when it got it: one more
    // connection at every showing, each run on every move of the keyboard.
    if (QWindow* window = windowHandle())
        QObject::disconnect(window, &QWindow::focusObjectChanged, qApp, nullptr);
    if (modalLoop)
        modalLoop->quit();
    if (isMainForm)
        QApplication::quit();
}

bool TForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (!key->isAutoRepeat())
        button->click();
    return true;
}
