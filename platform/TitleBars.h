#pragma once

// On Wayland, Qt 6.4 asks its EGL buffer integration whether it can draw a
// window's title bar, and starting that integration maps Mesa's EGL, a DRI
// driver and LLVM: some 50 MB for windows that are drawn in shared memory.
// Where the compositor answers that it draws a toplevel's title bar itself
// (server-side decoration, asked as Qt will ask: with no preference stated),
// Qt is told to draw none and EGL never starts; where it answers client side,
// offers no decorations or does not answer within half a second, Qt chooses.
// Call it before QApplication is made, only when Qt will run on its "wayland"
// platform. It changes nothing where the user set one of Qt's variables that
// steer the decoration, nor where the compositor's socket is inherited
// (WAYLAND_SOCKET is taken once, by Qt).
void leaveTitleBarsToCompositor();
