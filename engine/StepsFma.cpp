// The steps' loop for processors with FMA (see Steps.cpp): compiled with -mfma.
#define CALC_STEPS_FMA
#include "engine/Steps.cpp" // NOLINT(bugprone-suspicious-include): the same loop, built again
