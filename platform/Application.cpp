#include "platform/Application.h"

#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/Display.h"
#include "platform/Form.h"
#include "platform/Guard.h"
#include "platform/Messages.h"
#include "platform/Sound.h"
#include "platform/TitleBars.h"
#include "platform/Translations.h"

TApplication* Application = nullptr;

namespace {

// Said before Qt has started, so translated by hand; the command stays as it is.
const char* const kNoDisplay = QT_TRANSLATE_NOOP(
    "TApplication", "calculator: no display found; start it under a virtual X server:");

// The last net: a failure that escaped a handler without a guard must not
// unwind through Qt's event dispatch.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            Guard::report(std::current_exception());
            return false;
        }
    }
};

// A termination request (logout, kill, Ctrl+C) closes the main window the
// ordinary way instead of killing the program mid-handler.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

void closeOnTermination(QObject* parent, const std::function<void()>& close)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [close] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
        close();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace

TApplication::TApplication(int& argcRef, char** argvRef) : argc(argcRef), argv(argvRef)
{
    Application = this;
}

TApplication::~TApplication()
{
    forms.clear(); // windows go before the window system
    player.reset();
    qt.reset();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    const char* platform = displayPlatform(argc, argv);
    // The advice names the program as it was started, so that it can be pasted.
    if (!platform)
        throw ENoDisplay(translatedEarly("TApplication", kNoDisplay).toStdString() +
                         " xvfb-run -a " +
                         std::string(argc > 0 && argv[0][0] != '\0' ? argv[0] : "calculator"));
    if (std::strcmp(platform, "wayland") == 0)
        leaveTitleBarsToCompositor();
    qt = std::make_unique<GuardedApplication>(argc, argv);
    closeDisplayCheck();
    installTranslations();
    QApplication::setApplicationName("calculator");
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(CALC_APP_ID);
    QApplication::setQuitOnLastWindowClosed(false);
    closeOnTermination(qt.get(), [this] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        if (mainForm)
            mainForm->close();
        QApplication::quit();
    });
}

void TApplication::adopt(std::unique_ptr<TForm> form)
{
    if (!mainForm) {
        mainForm = form.get();
        mainForm->setMainForm(true);
    } else {
        form->setPopupParent(mainForm);
    }
    forms.push_back(std::move(form));
}

void TApplication::Run()
{
    if (!mainForm)
        return;
    mainForm->show();
    QApplication::exec();
}

Sound& TApplication::sound()
{
    if (!player)
        player = std::make_unique<Sound>();
    return *player;
}

void TApplication::ShowException(const Exception& failure)
{
    ShowError(failure.message());
}
