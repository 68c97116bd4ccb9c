// The steps' loop over blocks of x for processors with FMA (see Lanes.cpp):
// compiled with -mfma.
#define CALC_STEPS_FMA
#include "engine/Lanes.cpp" // NOLINT(bugprone-suspicious-include): the same loop, built again
