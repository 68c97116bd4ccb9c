// Plays, through Sound as the graph window does, the sweep of y = 0 across a
// view symmetric about it (440 Hz, two seconds, left to right), for
// sound.sh to record, and prints how long play() took on this thread. Exits
// once the sound has been played out; fails after a minute.

#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "graph/Sonification.h"
#include "platform/Sound.h"

int main()
{
    using Clock = std::chrono::steady_clock;
    Sound sound;
    auto samples = Sonification::sweep(std::vector<double>(500, 0.0), -10, 10, 2);
    const auto asked = Clock::now();
    sound.play(std::move(samples));
    const auto returned = Clock::now();
    std::printf("play %.3f ms\n",
                std::chrono::duration<double, std::milli>(returned - asked).count());
    while (sound.playing()) {
        if (Clock::now() - returned > std::chrono::minutes(1))
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}
