#include "platform/TitleBars.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <utility>
#include <wayland-client.h>

#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// The choices of decoration, buffer integration and shell that are the user's.
const char* const userSettings[] = {
    "QT_WAYLAND_DISABLE_WINDOWDECORATION",
    "QT_WAYLAND_DECORATION",
    "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION",
    "QT_WAYLAND_SHELL_INTEGRATION",
};

// From the connection on, the question gets this long; a compositor that has
// not answered by then leaves the choice to Qt.
constexpr std::chrono::milliseconds answerTime{500};
using Deadline = std::chrono::steady_clock::time_point;

struct Probe {
    // The globals' names: wl_compositor, xdg_wm_base (Qt's windows are
    // xdg-shell toplevels) and the decoration manager; 0 where not offered.
    uint32_t compositor = 0, shell = 0, decorations = 0;
    bool listed = false;     // every global is in
    uint32_t mode = 0;       // the decoration mode last configured; 0: none yet
    bool configured = false; // a configure sequence that carried a mode is over
};

const std::pair<const wl_interface*, uint32_t Probe::*> wantedGlobals[] = {
    {&wl_compositor_interface, &Probe::compositor},
    {&xdg_wm_base_interface, &Probe::shell},
    {&zxdg_decoration_manager_v1_interface, &Probe::decorations},
};

void onGlobal(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t)
{
    for (const auto& [wanted, slot] : wantedGlobals)
        if (std::strcmp(interface, wanted->name) == 0)
            static_cast<Probe*>(data)->*slot = name;
}
void onGlobalRemoved(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {onGlobal, onGlobalRemoved};

void onListed(void* data, wl_callback*, uint32_t)
{
    static_cast<Probe*>(data)->listed = true;
}
const wl_callback_listener listedListener = {onListed};

void onConfigure(void* data, xdg_surface*, uint32_t)
{
    auto* probe = static_cast<Probe*>(data);
    probe->configured = probe->mode != 0;
}
const xdg_surface_listener surfaceListener = {onConfigure};

void onMode(void* data, zxdg_toplevel_decoration_v1*, uint32_t mode)
{
    static_cast<Probe*>(data)->mode = mode;
}
const zxdg_toplevel_decoration_v1_listener decorationListener = {onMode};

// Dispatches the compositor's events until DONE is set; false where the
// connection breaks or the deadline comes first. It waits in poll(), so a
// compositor that never answers cannot hold the program.
bool dispatchUntil(wl_display* display, const bool& done, Deadline deadline)
{
    while (!done) {
        if (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0)
                return false;
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd answer{wl_display_get_fd(display), POLLIN, 0};
        const int ready = left > 0 && wl_display_flush(display) >= 0
                              ? ::poll(&answer, 1, static_cast<int>(left))
                              : 0;
        if (ready <= 0) {
            wl_display_cancel_read(display);
            if (ready < 0 && errno == EINTR)
                continue;
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
            return false;
    }
    return true;
}

template <typename Proxy>
Proxy* bind(wl_registry* registry, uint32_t name, const wl_interface& interface)
{
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, 1));
}

// Makes a toplevel and asks which decoration mode it gets, as Qt 6.4 asks:
// with no preference (unset_mode), so the compositor chooses and says so in
// the configure sequence that follows the surface's first commit (an earlier
// one, without a mode, does not count). No buffer is ever attached, so nothing
// is shown.
bool answeredServerSide(wl_display* display, wl_registry* registry, Probe& probe, Deadline deadline)
{
    auto* compositor = bind<wl_compositor>(registry, probe.compositor, wl_compositor_interface);
    auto* shell = bind<xdg_wm_base>(registry, probe.shell, xdg_wm_base_interface);
    auto* decorations = bind<zxdg_decoration_manager_v1>(registry, probe.decorations,
                                                         zxdg_decoration_manager_v1_interface);
    wl_surface* surface = wl_compositor_create_surface(compositor);
    xdg_surface* role = xdg_wm_base_get_xdg_surface(shell, surface);
    xdg_surface_add_listener(role, &surfaceListener, &probe);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(role);
    zxdg_toplevel_decoration_v1* decoration =
        zxdg_decoration_manager_v1_get_toplevel_decoration(decorations, toplevel);
    zxdg_toplevel_decoration_v1_add_listener(decoration, &decorationListener, &probe);
    zxdg_toplevel_decoration_v1_unset_mode(decoration);
    wl_surface_commit(surface);
    const bool configured = dispatchUntil(display, probe.configured, deadline);
    zxdg_toplevel_decoration_v1_destroy(decoration);
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(role);
    wl_surface_destroy(surface);
    zxdg_decoration_manager_v1_destroy(decorations);
    xdg_wm_base_destroy(shell);
    wl_compositor_destroy(compositor);
    return configured && probe.mode == ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE;
}

// Connects as Qt will (libwayland reads WAYLAND_DISPLAY and XDG_RUNTIME_DIR).
bool compositorDrawsTitleBars()
{
    const Deadline deadline = std::chrono::steady_clock::now() + answerTime;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    Probe probe;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &probe);
    wl_callback* listed = wl_display_sync(display);
    wl_callback_add_listener(listed, &listedListener, &probe);
    const bool serverSide = dispatchUntil(display, probe.listed, deadline) && probe.compositor &&
                            probe.shell && probe.decorations &&
                            answeredServerSide(display, registry, probe, deadline);
    wl_callback_destroy(listed);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return serverSide;
}

} // namespace

void leaveTitleBarsToCompositor()
{
    if (std::getenv("WAYLAND_SOCKET"))
        return;
    for (const char* name : userSettings)
        if (std::getenv(name))
            return;
    // Elsewhere (weston, mutter, Wayfire) Qt's title bar needs EGL: without one,
    // a window cannot be moved or closed.
    if (compositorDrawsTitleBars())
        ::setenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1", 1);
}
