#pragma once

// On Wayland, Qt 6.4 asks its EGL buffer integration whether it can draw a
// window's title bar, and starting that integration maps Mesa's EGL, a DRI
// driver and LLVM: some 50 MB for windows that are drawn in shared memory.
// Where the compositor draws the title bars itself (it offers xdg-shell's
// decoration manager, and Qt leaves the choice of mode to it), Qt is told to
// draw none and EGL never starts. Call it before QApplication is made, only
// when Qt will run on its "wayland" platform. It changes nothing where the
// user set one of Qt's variables that steer the decoration, nor where the
// compositor's socket is inherited (WAYLAND_SOCKET is taken once, by Qt).
void leaveTitleBarsToCompositor();
