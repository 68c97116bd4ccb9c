#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// Paces what is said of a run of moves, so that a screen reader is not
// flooded: told of every step of a held key, Orca speaks a stream of cut
// fragments, each one the next cuts off. A lone move is said at once; moves
// that come faster (within kQuiet of the last thing said, or a key's own
// repeats) are said once, the last of them, kSettle after they stop.
//
// The clock and the wait are given, so that the pace can be checked without
// waiting: the clock tells the time in milliseconds; waitFor asks to be woken
// (wake) so many milliseconds from now, replacing any earlier wait.
class SpeechPace {
public:
    static constexpr std::int64_t kQuiet = 250;
    static constexpr int kSettle = 150;

    SpeechPace(std::function<std::int64_t()> clock, std::function<void(const QString&)> speak,
               std::function<void(int milliseconds)> waitFor);

    // A move: what is now to be said of it. Repeated: a key's own repeat.
    void say(const QString& text, bool repeated = false);
    // The wait asked for is over: the last thing held back is said.
    void wake();

private:
    std::function<std::int64_t()> clock;
    std::function<void(const QString&)> speak;
    std::function<void(int)> waitFor;
    bool spokenBefore = false;
    std::int64_t lastSpoken = 0;
    bool holding = false;
    QString held;
};
