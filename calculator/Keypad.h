#pragma once

// The calculator's 36 buttons: caption, place in the client area, font, the
// text each appending button adds to the expression and the name a screen
// reader speaks (captions such as "--" or "<--" read badly aloud).
struct KeySpec {
    int number; // ButtonN
    const char* caption;
    int left, top, width, height;
    int fontPixels; // 0: the window's own font
    bool bold;
    bool italic;
    bool green;
    const char* appends;    // nullptr: the button runs an action instead
    const char* spokenName; // in English: translated where used (context "Keypad")
};

extern const KeySpec kKeypad[36];
