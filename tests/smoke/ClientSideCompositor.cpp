// A compositor that configures every toplevel's decoration client side, as
// Wayfire does by default, and offers shared memory so that Qt goes on to make
// its windows. Given "silent", it takes connections and never answers.
//   client_side_compositor SOCKET [silent]
#include <cstring>
#include <initializer_list>
#include <unistd.h>
#include <wayland-server.h>

#include "xdg-decoration-unstable-v1-server-protocol.h"
#include "xdg-shell-server-protocol.h"

// Every request makes the objects it asks for, each keeping the one it was
// asked of (a toplevel its xdg_surface); only the two named below do more.
static int dispatch(const void*, void* target, uint32_t, const wl_message* message,
                    wl_argument* args)
{
    auto* asked = static_cast<wl_resource*>(target);
    wl_resource* made = nullptr;
    if (std::strchr(message->signature, 'n') != nullptr) { // the first argument, here
        made = wl_resource_create(wl_resource_get_client(asked), message->types[0],
                                  wl_resource_get_version(asked), args[0].n);
        wl_resource_set_dispatcher(made, dispatch, nullptr, asked, nullptr);
    }
    if (std::strcmp(message->name, "destroy") == 0)
        wl_resource_destroy(asked);
    if (std::strcmp(message->name, "get_toplevel_decoration") == 0) {
        zxdg_toplevel_decoration_v1_send_configure(made,
                                                   ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE);
        auto* toplevel = reinterpret_cast<wl_resource*>(args[1].o);
        xdg_surface_send_configure(static_cast<wl_resource*>(wl_resource_get_user_data(toplevel)),
                                   1);
    }
    return 0;
}

static void bind(wl_client* client, void* interface, uint32_t version, uint32_t id)
{
    wl_resource* made = wl_resource_create(client, static_cast<wl_interface*>(interface),
                                           static_cast<int>(version), id);
    wl_resource_set_dispatcher(made, dispatch, nullptr, nullptr, nullptr);
}

int main(int argc, char** argv)
{
    wl_display* display = wl_display_create();
    wl_display_init_shm(display);
    for (const wl_interface* offered :
         {&wl_compositor_interface, &xdg_wm_base_interface, &zxdg_decoration_manager_v1_interface})
        wl_global_create(display, offered, offered->version, const_cast<wl_interface*>(offered),
                         bind);
    if (wl_display_add_socket(display, argv[1]) != 0)
        return 1;
    if (argc > 2) // it listens, but only wl_display_run takes and reads connections
        pause();
    wl_display_run(display);
}
