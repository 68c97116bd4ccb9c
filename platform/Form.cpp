#include "platform/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
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
