#pragma once

// Whether Qt will find a display to show the windows on. Qt aborts the whole
// program when it finds none, so this is asked before Qt starts. The command
// line is read as Qt reads it and left as it is.
bool displayAvailable(int argc, char** argv);
