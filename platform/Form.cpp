#include "platform/Form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QShowEvent>

#include "platform/Guard.h"

TForm::TForm() : QWidget(nullptr, Qt::Window) {}

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

void TForm::showEvent(QShowEvent* event)
{
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        button->installEventFilter(this); // once each: Qt drops a filter installed before
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Guard::run([this] { FormShow(); });
}

void TForm::closeEvent(QCloseEvent* event)
{
    Guard::run([this] { FormClose(); });
    QWidget::closeEvent(event);
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
