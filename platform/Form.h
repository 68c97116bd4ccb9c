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

    // The window this one belongs to. Each showing opens it centred over that
    // window, and the window manager is told it is that window's dialog (X11's
    // WM_TRANSIENT_FOR, Wayland's xdg_toplevel parent), so that it is kept in
    // front of the window it blocks.
    void setPopupParent(TForm* parent);

protected:
    virtual void FormShow() {}
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter and Return press a button that has the keyboard, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeOverPopupParent();

    bool isMainForm = false;
    TForm* popupParent = nullptr;
    QEventLoop* modalLoop = nullptr;
};
