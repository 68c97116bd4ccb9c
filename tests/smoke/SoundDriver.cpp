// Plays through Sound, as the graph window does, the sweep of y = 0 in a view
// symmetric about it (440 Hz, two seconds, left to right) for sound.sh to
// record; prints how long play() took. Ends once it has been played out.

#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "graph/Sonification.h"
#include "platform/Sound.h"

int main()
{
    using namespace std::chrono;
    Sound sound;
    auto samples = Sonification::sweep(std::vector<double>(500, 0.0), -10, 10, 2);
    const auto asked = steady_clock::now();
    sound.play(std::move(samples));
    std::printf("play %.3f ms\n",
                duration<double, std::milli>(steady_clock::now() - asked).count());
    while (sound.playing() && steady_clock::now() - asked < minutes(1))
        std::this_thread::sleep_for(milliseconds(10));
    return sound.playing() ? 1 : 0;
}
