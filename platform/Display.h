#pragma once

// Whether Qt will find a display to show the windows on. Qt aborts the whole
// program when it finds none, so this is asked before Qt starts. The command
// line is read as Qt reads it and left as it is.
bool displayAvailable(int argc, char** argv);

// An X server with no other client, such as xvfb-run's, resets when its last
// client leaves and refuses connections meanwhile: the connection that found
// the X server stays open until Qt has made its own, then this closes it.
void closeDisplayCheck();
