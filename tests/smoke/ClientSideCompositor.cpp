// A Wayland compositor that leaves every title bar to the window, as Wayfire
// does by default: each toplevel's decoration is configured client side, and
// its xdg_surface with it. It offers shared memory too, so that Qt goes on to
// make its windows; every other request makes the objects it asks for, and
// nothing else happens.
//   client_side_compositor SOCKET
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <wayland-server.h>

#include "xdg-decoration-unstable-v1-server-protocol.h"
#include "xdg-shell-server-protocol.h"

namespace {

// Each new object keeps the one it was asked of: a toplevel its xdg_surface.
int dispatch(const void*, void* target, uint32_t, const wl_message* message, wl_argument* args)
{
    auto* asked = static_cast<wl_resource*>(target);
    wl_resource* made = nullptr;
    for (int type = 0, arg = 0; message->signature[type] != '\0'; ++type) {
        if (std::isalpha(message->signature[type]) == 0) // a version or '?'
            continue;
        if (message->signature[type] == 'n') {
            made = wl_resource_create(wl_resource_get_client(asked), message->types[arg],
                                      wl_resource_get_version(asked), args[arg].n);
            wl_resource_set_dispatcher(made, dispatch, nullptr, asked, nullptr);
        }
        ++arg;
    }
    if (std::strcmp(message->name, "destroy") == 0)
        wl_resource_destroy(asked);
    if (std::strcmp(message->name, "get_toplevel_decoration") == 0) {
        auto* toplevel = reinterpret_cast<wl_resource*>(args[1].o);
        zxdg_toplevel_decoration_v1_send_configure(made,
                                                   ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE);
        xdg_surface_send_configure(static_cast<wl_resource*>(wl_resource_get_user_data(toplevel)),
                                   1);
    }
    return 0;
}

void bind(wl_client* client, void* interface, uint32_t version, uint32_t id)
{
    wl_resource* made =
        wl_resource_create(client, static_cast<wl_interface*>(interface), version, id);
    wl_resource_set_dispatcher(made, dispatch, nullptr, nullptr, nullptr);
}

} // namespace

int main(int, char** argv)
{
    wl_display* display = wl_display_create();
    wl_display_init_shm(display);
    for (const wl_interface* offered :
         {&wl_compositor_interface, &xdg_wm_base_interface, &zxdg_decoration_manager_v1_interface})
        wl_global_create(display, offered, offered->version, const_cast<wl_interface*>(offered),
                         bind);
    if (wl_display_add_socket(display, argv[1]) != 0)
        return 1;
    wl_display_run(display);
}
