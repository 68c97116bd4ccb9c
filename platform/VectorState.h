#pragma once

// Qt's drawing routines for processors with AVX return with the upper halves
// of the vector registers still in use. Until those are cleared, every SSE
// instruction after them (the mathematical library's, the evaluation's) waits
// on them: a redraw's sampling ran twenty times slower on an Intel Xeon, two
// to three times on AMD Zen 5 (the cost depends on the processor). Clear them
// before a long run of calculation that follows drawing; elsewhere a no-op.
void clearVectorState();
