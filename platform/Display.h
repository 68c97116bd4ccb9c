#pragma once

// The key of the platform Qt will show the windows on ("xcb", "wayland", ...),
// or null when it would find no display. Qt aborts the whole program when it
// finds none, so this is asked before Qt starts. The command line is read as
// Qt reads it and left as it is.
const char* displayPlatform(int argc, char** argv);

// An X server with no other client, such as xvfb-run's, resets when its last
// client leaves and refuses connections meanwhile: the connection that found
// the X server stays open until Qt has made its own, then this closes it.
void closeDisplayCheck();
