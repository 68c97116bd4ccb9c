#include "platform/SpeechPace.h"

#include <utility>

SpeechPace::SpeechPace(std::function<std::int64_t()> clock,
                       std::function<void(const QString&)> speak,
                       std::function<void(int milliseconds)> waitFor)
    : clock(std::move(clock)), speak(std::move(speak)), waitFor(std::move(waitFor))
{
}

void SpeechPace::say(const QString& text, bool repeated)
{
    const std::int64_t now = clock();
    if (!holding && !repeated && (!spokenBefore || now - lastSpoken >= kQuiet)) {
        spokenBefore = true;
        lastSpoken = now;
        speak(text);
        return;
    }
    holding = true;
    held = text;
    waitFor(kSettle);
}

void SpeechPace::wake()
{
    if (!holding)
        return;
    holding = false;
    lastSpoken = clock();
    speak(held);
}
