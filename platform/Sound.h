#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Plays sounds on the desktop's sound server (PulseAudio, or PipeWire through
// its PulseAudio service), one at a time: a new sound replaces the one
// playing, which fades out first, and so does a stopped one.
//
// Nothing is loaded before the first sound: then a worker thread loads the
// client library (libpulse.so.0, through dlopen, so that the program starts
// without it and runs where it is missing), connects and hands the samples
// on, so that the caller never waits for the server. Where the library or a
// server is missing the sounds are dropped: nothing is printed, and no server
// is started. The worker ends, and is joined, with this object.
class Sound {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2; // interleaved: left, right

    Sound();
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Signed 16-bit samples, kChannels to a frame, kSampleRate frames a second.
    void play(std::vector<std::int16_t> samples);
    // What plays fades out once the server has played what it holds (tens of ms).
    void stop();
    // Whether samples of the last sound are still to be handed to the server;
    // the last of them sound for tens of milliseconds more.
    bool playing() const;

private:
    class Worker;
    std::unique_ptr<Worker> worker;
};
