// Starts a program on the X server of DISPLAY and prints, on one line, the
// milliseconds from its exec to its first window on the screen with a picture
// in it, its resident and proportional memory in kB a second later, and the
// milliseconds its threads had run on a processor until that picture:
//   startup_watch PROGRAM [ARG...]  ->  "31.4 30112 24890 27.9"
//
// "On the screen with a picture in it": the first top-level window mapped,
// once a drawing into it has left more than one colour there. Every drawing on
// the screen is reported by the Damage extension on the root window (it
// includes the windows inside); a window's background, which the server fills
// with one colour, does not count, nor does the black of the root around it
// (run the server with a black root: Xvfb -br). Qt and GTK both put a window's
// whole first picture on the screen in one request, so its first drawing with
// more than one colour is the finished one.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "startup_watch: %s\n", why.c_str());
    std::exit(1);
}

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> Owned<Reply> own(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

// Whether the window shows more than one colour.
bool drawn(xcb_connection_t* x, xcb_window_t window, int width, int height)
{
    auto image = own(xcb_get_image_reply(x,
                                         xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                                       static_cast<uint16_t>(width),
                                                       static_cast<uint16_t>(height), ~0U),
                                         nullptr));
    if (!image)
        return false; // not viewable yet
    const uint8_t* data = xcb_get_image_data(image.get());
    const int length = xcb_get_image_data_length(image.get());
    if (length < 4)
        return false;
    for (int i = 4; i + 4 <= length; i += 4)
        if (std::memcmp(data + i, data, 3) != 0)
            return true;
    return false;
}

// Milliseconds the program's threads have run on a processor so far: what a
// start costs whatever else the machine is doing.
double processorTime(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double nanoseconds = 0;
    if (DIR* folder = opendir(tasks.c_str())) {
        while (const dirent* task = readdir(folder)) {
            if (task->d_name[0] == '.')
                continue;
            std::ifstream schedstat(tasks + "/" + task->d_name + "/schedstat");
            double onProcessor = 0;
            if (schedstat >> onProcessor)
                nanoseconds += onProcessor;
        }
        closedir(folder);
    }
    return nanoseconds / 1e6;
}

// Resident and proportional set sizes in kB.
std::pair<long, long> memory(pid_t pid)
{
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    long rss = -1;
    long pss = -1;
    for (std::string line; std::getline(rollup, line);) {
        if (line.rfind("Rss:", 0) == 0)
            rss = std::atol(line.c_str() + 4);
        else if (line.rfind("Pss:", 0) == 0)
            pss = std::atol(line.c_str() + 4);
    }
    return {rss, pss};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        fail("usage: startup_watch PROGRAM [ARG...]");
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        fail("no X server");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const xcb_window_t root = screen->root;
    const xcb_query_extension_reply_t* damageExtension = xcb_get_extension_data(x, &xcb_damage_id);
    if (!damageExtension || !damageExtension->present)
        fail("the X server has no Damage extension");
    free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &events);
    const xcb_damage_damage_t damage = xcb_generate_id(x);
    xcb_damage_create(x, damage, root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // all of it in place
    const uint8_t damageNotify = damageExtension->first_event + XCB_DAMAGE_NOTIFY;

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        fail("cannot fork");
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::fprintf(stderr, "startup_watch: cannot run %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }

    xcb_window_t window = XCB_NONE;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    double milliseconds = -1;
    double processorMilliseconds = 0;
    const int fd = xcb_get_file_descriptor(x);
    while (milliseconds < 0) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 200) == 0) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                fail(std::string(argv[1]) + " ended before it showed a window");
            if (Clock::now() - start > std::chrono::seconds(30)) {
                kill(pid, SIGKILL);
                fail(std::string(argv[1]) + " showed no window in 30 s");
            }
        }
        while (auto event = own(xcb_poll_for_event(x))) {
            const Clock::time_point at = Clock::now();
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY && window == XCB_NONE) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
                if (map->event != root || map->override_redirect)
                    continue;
                auto geometry =
                    own(xcb_get_geometry_reply(x, xcb_get_geometry(x, map->window), nullptr));
                if (!geometry)
                    continue;
                window = map->window;
                left = geometry->x;
                top = geometry->y;
                width = geometry->width;
                height = geometry->height;
            } else if (type == damageNotify && window != XCB_NONE) {
                const auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
                const xcb_rectangle_t& area = notify->area;
                const bool inside = area.x < left + width && area.x + area.width > left &&
                                    area.y < top + height && area.y + area.height > top;
                if (inside && drawn(x, window, width, height)) {
                    milliseconds = std::chrono::duration<double, std::milli>(at - start).count();
                    processorMilliseconds = processorTime(pid);
                    break;
                }
            }
        }
        if (xcb_connection_has_error(x))
            fail("lost the X server");
    }
    std::this_thread::sleep_for(std::chrono::seconds(1)); // memory a second later, by definition
    const auto [rss, pss] = memory(pid);
    kill(pid, SIGTERM);
    int status = 0;
    const auto waited = Clock::now();
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() - waited > std::chrono::seconds(5))
            kill(pid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    xcb_disconnect(x);
    std::printf("%.2f %ld %ld %.2f\n", milliseconds, rss, pss, processorMilliseconds);
    return 0;
}
