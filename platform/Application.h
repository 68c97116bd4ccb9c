#pragma once

#include <QApplication>
#include <memory>
#include <vector>

#include "engine/Conversions.h"

class Sound;
class TForm;

// What Initialize throws when no display can be had: nothing can open, which
// the caller reports apart from other failures.
class ENoDisplay : public Exception {
public:
    using Exception::Exception;
};

// The application object: creates the windows in order (the first is the
// main window) and runs the event loop until the main window closes.
class TApplication {
public:
    TApplication(int& argc, char** argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Starts the window system; throws ENoDisplay when there is no display.
    void Initialize();

    template <typename Form> void CreateForm(Form*& reference)
    {
        auto form = std::make_unique<Form>();
        reference = form.get();
        adopt(std::move(form));
    }

    void Run();
    void ShowException(const Exception& failure);

    // The program's one sound player, made on first use; it and its worker
    // end after the windows and before the window system.
    Sound& sound();

private:
    void adopt(std::unique_ptr<TForm> form);

    int& argc;
    char** argv;
    std::unique_ptr<QApplication> qt;
    std::vector<std::unique_ptr<TForm>> forms;
    TForm* mainForm = nullptr;
    std::unique_ptr<Sound> player;
};

extern TApplication* Application;
