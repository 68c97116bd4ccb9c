#include "platform/TitleBars.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace {

// The choices of decoration, buffer integration and shell that are the user's.
const char* const userSettings[] = {
    "QT_WAYLAND_DISABLE_WINDOWDECORATION",
    "QT_WAYLAND_DECORATION",
    "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION",
    "QT_WAYLAND_SHELL_INTEGRATION",
};

struct Globals {
    bool shell = false;       // xdg_wm_base: Qt's windows are xdg-shell toplevels
    bool decorations = false; // zxdg_decoration_manager_v1: the compositor can draw title bars
};

void onGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    globals->shell = globals->shell || std::strcmp(interface, "xdg_wm_base") == 0;
    globals->decorations =
        globals->decorations || std::strcmp(interface, "zxdg_decoration_manager_v1") == 0;
}

void onGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {onGlobal, onGlobalRemoved};

// Connects as Qt will (libwayland reads WAYLAND_DISPLAY and XDG_RUNTIME_DIR)
// and lists the compositor's globals.
bool compositorDrawsTitleBars()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &globals);
    const bool listed = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return listed && globals.shell && globals.decorations;
}

} // namespace

void leaveTitleBarsToCompositor()
{
    if (std::getenv("WAYLAND_SOCKET"))
        return;
    for (const char* name : userSettings)
        if (std::getenv(name))
            return;
    // Elsewhere (weston, mutter) Qt's title bar needs EGL: no title bar, no moving or closing.
    if (compositorDrawsTitleBars())
        ::setenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1", 1);
}
