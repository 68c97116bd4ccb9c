#include "platform/Display.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

// Qt 6.4 tries the platforms of a list in order and runs on the first that
// starts, the one named here; there is no display when none would. The list is
// "-platform LIST" from the command line, else QT_QPA_PLATFORM, else "xcb",
// with "wayland" before it in a Wayland session (WAYLAND_DISPLAY set, or
// XDG_SESSION_TYPE=wayland). Entries are separated by ';'; the arguments after
// ':' do not count, and a name matches a plugin's key whole, in any case. The
// table below holds the keys of Qt 6.4's platforms: those of a display server
// start when it answers, the others need none (what goes wrong there Qt
// reports itself). A name that is no platform's key starts nothing: Qt would
// only warn and go on to the next entry, or abort when none is left.

namespace {

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// The value after the last "-NAME" or "--NAME" of the command line, as Qt
// and its xcb platform read "-platform" and "-display".
std::optional<std::string> option(int argc, char** argv, const char* name)
{
    std::optional<std::string> value;
    for (int i = 1; i + 1 < argc; ++i) {
        const char* argument = argv[i];
        if (std::strncmp(argument, "--", 2) == 0)
            ++argument;
        if (argument[0] == '-' && std::strcmp(argument + 1, name) == 0)
            value = argv[++i];
    }
    return value;
}

xcb_connection_t* answeredConnection = nullptr;

// Whether the X server named by "-display" or DISPLAY answers.
bool xServerAnswers(int argc, char** argv)
{
    const std::optional<std::string> display = option(argc, argv, "display");
    xcb_connection_t* connection = xcb_connect(display ? display->c_str() : nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    closeDisplayCheck();
    answeredConnection = connection;
    return true;
}

// Whether libwayland-client takes an inherited socket: WAYLAND_SOCKET must be
// a whole number as strtol reads it, kept as an int, naming an open
// descriptor. When the variable is set, nothing else is tried.
bool inheritedSocketOpen(const std::string& text)
{
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0')
        return false;
    return ::fcntl(static_cast<int>(number), F_GETFD) != -1;
}

// Whether the compositor that libwayland-client would connect to answers: a
// socket inherited in WAYLAND_SOCKET, or the one WAYLAND_DISPLAY names
// (wayland-0 when unset), in XDG_RUNTIME_DIR unless the name is absolute.
bool compositorAnswers(int, char**)
{
    if (const auto inherited = environment("WAYLAND_SOCKET"))
        return inheritedSocketOpen(*inherited);
    std::string path = environment("WAYLAND_DISPLAY").value_or("wayland-0");
    if (path.empty() || path[0] != '/') {
        const std::string folder = environment("XDG_RUNTIME_DIR").value_or("");
        if (folder.empty() || folder[0] != '/')
            return false;
        path = folder + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool answers =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}

struct Platform {
    const char* key;
    bool (*serverAnswers)(int argc, char** argv); // null: needs no display server
};

const Platform platforms[] = {
    {"xcb", xServerAnswers},
    {"wayland", compositorAnswers},
    {"wayland-egl", compositorAnswers},
    {"wayland-brcm", compositorAnswers},
    {"eglfs", nullptr},
    {"linuxfb", nullptr},
    {"directfb", nullptr},
    {"vkkhrdisplay", nullptr},
    {"minimal", nullptr},
    {"minimalegl", nullptr},
    {"offscreen", nullptr},
    {"vnc", nullptr},
};

// The platform an entry of the list names: "Wayland:scale=2" names "wayland".
std::string platformName(const std::string& entry)
{
    const auto start = entry.find_first_not_of(':');
    if (start == std::string::npos)
        return "";
    std::string name = entry.substr(start, entry.find(':', start) - start);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

std::string platformList(int argc, char** argv)
{
    if (const auto fromCommandLine = option(argc, argv, "platform"))
        return *fromCommandLine;
    if (const auto fromEnvironment = environment("QT_QPA_PLATFORM");
        fromEnvironment && !fromEnvironment->empty())
        return *fromEnvironment;
    const bool waylandSession =
        environment("WAYLAND_DISPLAY") || environment("XDG_SESSION_TYPE") == "wayland";
    return waylandSession ? "wayland;xcb" : "xcb";
}

} // namespace

const char* displayPlatform(int argc, char** argv)
{
    // Split by hand: a string stream would set up the C++ locales, a cost
    // nothing else at start pays.
    const std::string list = platformList(argc, argv);
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        const std::string name = platformName(list.substr(start, end - start));
        start = end + 1;
        if (name.empty())
            continue;
        const auto platform = std::find_if(std::begin(platforms), std::end(platforms),
                                           [&](const Platform& p) { return name == p.key; });
        if (platform != std::end(platforms) &&
            (!platform->serverAnswers || platform->serverAnswers(argc, argv)))
            return platform->key;
    }
    return nullptr;
}

void closeDisplayCheck()
{
    if (answeredConnection)
        xcb_disconnect(answeredConnection);
    answeredConnection = nullptr;
}
