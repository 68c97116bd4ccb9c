#pragma once

#include <QWidget>

class QEventLoop;

// A top-level window with show and close handlers, shown normally or modally.
class TForm : public QWidget {
public:
    TForm();

    // Shows the window modally and returns when it closes.
    int ShowModal();

    // The main window ends the program when it closes.
    void setMainForm(bool main) { isMainForm = main; }

protected:
    virtual void FormShow() {}
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter and Return press a button that has the keyboard, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMainForm = false;
    QEventLoop* modalLoop = nullptr;
};
