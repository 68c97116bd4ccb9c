// The worker behind Sound: libpulse's asynchronous API on a main loop of its
// own. Not the simple API: that one connects and writes blocking, and cannot
// be told not to start a server, which it does for a user whose client.conf
// says autospawn (as Debian's does without systemd).

#include "platform/Sound.h"

#include <dlfcn.h>
#include <pulse/pulseaudio.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// The functions used, looked up in the library by name: its headers declare
// them, the program does not link it.
#define CALC_PULSE_FUNCTIONS(F)                                                                    \
    F(pa_mainloop_new)                                                                             \
    F(pa_mainloop_free)                                                                            \
    F(pa_mainloop_get_api)                                                                         \
    F(pa_mainloop_iterate)                                                                         \
    F(pa_mainloop_wakeup)                                                                          \
    F(pa_context_new)                                                                              \
    F(pa_context_connect)                                                                          \
    F(pa_context_disconnect)                                                                       \
    F(pa_context_unref)                                                                            \
    F(pa_context_get_state)                                                                        \
    F(pa_stream_new)                                                                               \
    F(pa_stream_connect_playback)                                                                  \
    F(pa_stream_disconnect)                                                                        \
    F(pa_stream_unref)                                                                             \
    F(pa_stream_get_state)                                                                         \
    F(pa_stream_writable_size)                                                                     \
    F(pa_stream_write)                                                                             \
    F(pa_stream_drain)                                                                             \
    F(pa_stream_cork)                                                                              \
    F(pa_operation_cancel)                                                                         \
    F(pa_operation_unref)

struct Pulse {
// NOLINTNEXTLINE(bugprone-macro-parentheses): a name declared, not a value
#define CALC_DECLARE(name) decltype(&::name) name = nullptr;
    CALC_PULSE_FUNCTIONS(CALC_DECLARE)
#undef CALC_DECLARE

    // The library stays loaded to the end: libraries it brings in (D-Bus,
    // systemd's) keep state that unloading would leave dangling.
    bool load()
    {
        void* library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return false;
#define CALC_LOOK_UP(name)                                                                         \
    name = reinterpret_cast<decltype(name)>(dlsym(library, #name));                                \
    if (!(name))                                                                                   \
        return false;
        CALC_PULSE_FUNCTIONS(CALC_LOOK_UP)
#undef CALC_LOOK_UP
        return true;
    }
};

// libpulse looks for the user's server in a folder it makes where missing:
// PULSE_RUNTIME_PATH, or "pulse" in XDG_RUNTIME_DIR, or else in the user's
// configuration folder. Where it cannot make it, it says so on stderr; and
// where it would have to make one under the configuration folder, no server
// of the user's is running (one would have made it). So the server is looked
// for only where it can be, or where PULSE_SERVER names it.
bool serverMayBeFound()
{
    if (std::getenv("PULSE_SERVER"))
        return true;
    for (const char* name : {"PULSE_RUNTIME_PATH", "XDG_RUNTIME_DIR"}) {
        const char* folder = std::getenv(name);
        if (folder && *folder)
            return ::access(folder, W_OK | X_OK) == 0;
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string folder;
    if (config && *config)
        folder = config;
    else if (home && *home)
        folder = std::string(home) + "/.config";
    else
        return false;
    return ::access((folder + "/pulse").c_str(), W_OK | X_OK) == 0;
}

// What is handed to the server next. A sound replaced or stopped is not cut
// off: its next 5 ms go on, fading, so that it ends without a pop.
class Feed {
public:
    void replace(std::vector<std::int16_t> next)
    {
        fadeOut();
        following = std::move(next);
        following.resize(following.size() / Sound::kChannels * Sound::kChannels);
    }

    void stop()
    {
        fadeOut();
        following.clear();
    }

    void clear() { *this = Feed(); }

    bool busy() const { return at < end || !following.empty(); }

    // Writes up to room samples, whole frames; returns how many.
    std::size_t take(std::int16_t* into, std::size_t room)
    {
        std::size_t taken = 0;
        while (taken < room) {
            if (at == end) {
                if (following.empty())
                    break;
                current = std::move(following);
                following.clear();
                at = 0;
                end = fadeFrom = current.size();
                continue;
            }
            double gain = 1;
            if (at >= fadeFrom) {
                const std::size_t frame = (at - fadeFrom) / Sound::kChannels;
                const std::size_t frames = (end - fadeFrom) / Sound::kChannels;
                gain = 1 - static_cast<double>(frame + 1) / static_cast<double>(frames);
            }
            into[taken++] = static_cast<std::int16_t>(current[at++] * gain);
        }
        return taken;
    }

private:
    static constexpr std::size_t kFade =
        std::size_t{Sound::kSampleRate / 200} * Sound::kChannels; // 5 ms

    void fadeOut()
    {
        if (at >= fadeFrom)
            return; // fading already
        fadeFrom = at;
        end = std::min(end, at + kFade);
    }

    std::vector<std::int16_t> current;
    std::size_t at = 0;       // the next sample of current to hand on
    std::size_t end = 0;      // where current stops: its end, or where its fade ends
    std::size_t fadeFrom = 0; // where its fade begins
    std::vector<std::int16_t> following;
};

} // namespace

class Sound::Worker {
public:
    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    ~Worker()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            quit = true;
            wake();
        }
        if (thread.joinable())
            thread.join();
    }

    void play(std::vector<std::int16_t> samples)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (unavailable)
            return;
        if (!thread.joinable()) {
            try {
                thread = std::thread([this] { run(); });
            } catch (const std::system_error&) {
                unavailable = true; // no thread to be had: no sound, and no failure shown
                return;
            }
        }
        next = std::move(samples);
        replacing = busy = true;
        wake();
    }

    void stop()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        next.clear();
        replacing = false;
        stopping = true;
        wake();
    }

    bool playing() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return busy;
    }

private:
    // Called with the mutex held. Before the main loop exists the worker has
    // not yet looked at what is asked, and will.
    void wake()
    {
        if (mainloop)
            pulse.pa_mainloop_wakeup(mainloop);
    }

    void run()
    {
        pa_mainloop* loop = nullptr;
        if (pulse.load() && serverMayBeFound())
            loop = pulse.pa_mainloop_new();
        {
            const std::lock_guard<std::mutex> lock(mutex);
            mainloop = loop;
        }
        while (loop) {
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (quit)
                    break;
                if (stopping)
                    feed.stop();
                if (replacing)
                    feed.replace(std::move(next));
                stopping = replacing = false;
            }
            serve();
            {
                const std::lock_guard<std::mutex> lock(mutex);
                busy = replacing || feed.busy() || sounding;
            }
            // Returns on the server's messages and on wake().
            if (pulse.pa_mainloop_iterate(loop, 1, nullptr) < 0)
                break;
        }
        disconnect();
        const std::lock_guard<std::mutex> lock(mutex);
        unavailable = true;
        busy = false;
        mainloop = nullptr;
        if (loop)
            pulse.pa_mainloop_free(loop);
    }

    // Connects when there is something to play; a connection that fails, or
    // a server that goes away, drops the sound, and the next one connects
    // again.
    void serve()
    {
        if (context && !PA_CONTEXT_IS_GOOD(pulse.pa_context_get_state(context)))
            disconnect();
        if (!context && feed.busy())
            connect();
        if (!context)
            return;
        if (!stream && pulse.pa_context_get_state(context) == PA_CONTEXT_READY)
            openStream();
        if (stream && !PA_STREAM_IS_GOOD(pulse.pa_stream_get_state(stream)))
            disconnect();
        else if (stream && pulse.pa_stream_get_state(stream) == PA_STREAM_READY)
            pump();
    }

    void connect()
    {
        // Never starts a server: with none there is simply no sound.
        context = pulse.pa_context_new(pulse.pa_mainloop_get_api(mainloop), "calculator");
        if (!context ||
            pulse.pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            disconnect();
    }

    void openStream()
    {
        const pa_sample_spec format{PA_SAMPLE_S16NE, kSampleRate, kChannels};
        stream = pulse.pa_stream_new(context, "graph", &format, nullptr);
        // The server asks for about this much ahead: short, so that a sound
        // starts and stops soon after it is asked for.
        const auto latency = static_cast<std::uint32_t>(kSampleRate / 25 * kChannels * 2); // 40 ms
        const auto serverDefault = static_cast<std::uint32_t>(-1);
        const pa_buffer_attr attributes{serverDefault, latency, serverDefault, serverDefault,
                                        serverDefault};
        if (!stream ||
            pulse.pa_stream_connect_playback(stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY,
                                             nullptr, nullptr) < 0)
            disconnect();
    }

    // Hands on as much as the server asks for. Once a sound has all gone, the
    // stream is drained (which plays a sound shorter than the server's
    // start-up fill too) and then corked, so that an idle stream does not
    // keep the sound card awake.
    void pump()
    {
        const std::size_t writable = pulse.pa_stream_writable_size(stream);
        if (feed.busy() && writable != static_cast<std::size_t>(-1)) {
            if (corked || draining)
                resume();
            chunk.resize(writable / sizeof(std::int16_t) / kChannels * kChannels);
            const std::size_t taken = feed.take(chunk.data(), chunk.size());
            if (taken > 0) {
                pulse.pa_stream_write(stream, chunk.data(), taken * sizeof(std::int16_t), nullptr,
                                      0, PA_SEEK_RELATIVE);
                sounding = true;
            }
            if (!feed.busy())
                draining = pulse.pa_stream_drain(stream, &Worker::drained, this);
        }
        if (!sounding && !corked && !feed.busy()) {
            forget(pulse.pa_stream_cork(stream, 1, nullptr, nullptr));
            corked = true;
        }
    }

    void resume()
    {
        if (draining) {
            pulse.pa_operation_cancel(draining);
            forget(draining);
            draining = nullptr;
        }
        if (corked)
            forget(pulse.pa_stream_cork(stream, 0, nullptr, nullptr));
        corked = false;
    }

    static void drained(pa_stream* /*stream*/, int /*success*/, void* worker)
    {
        auto* self = static_cast<Worker*>(worker);
        self->forget(self->draining);
        self->draining = nullptr;
        self->sounding = false;
    }

    void forget(pa_operation* operation)
    {
        if (operation)
            pulse.pa_operation_unref(operation);
    }

    void disconnect()
    {
        if (draining) {
            pulse.pa_operation_cancel(draining);
            forget(draining);
            draining = nullptr;
        }
        if (stream) {
            pulse.pa_stream_disconnect(stream);
            pulse.pa_stream_unref(stream);
            stream = nullptr;
        }
        if (context) {
            pulse.pa_context_disconnect(context);
            pulse.pa_context_unref(context);
            context = nullptr;
        }
        feed.clear();
        sounding = corked = false;
    }

    // Shared with the callers, under the mutex.
    mutable std::mutex mutex;
    std::vector<std::int16_t> next;
    bool replacing = false;
    bool stopping = false;
    bool quit = false;
    bool busy = false;
    bool unavailable = false;
    pa_mainloop* mainloop = nullptr; // set by the worker, woken by the callers
    std::thread thread;

    // The worker's own.
    Pulse pulse;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    pa_operation* draining = nullptr;
    bool sounding = false; // handed on, and not yet played out
    bool corked = false;
    Feed feed;
    std::vector<std::int16_t> chunk;
};

Sound::Sound() : worker(std::make_unique<Worker>()) {}

Sound::~Sound() = default;

void Sound::play(std::vector<std::int16_t> samples)
{
    worker->play(std::move(samples));
}

void Sound::stop()
{
    worker->stop();
}

bool Sound::playing() const
{
    return worker->playing();
}
