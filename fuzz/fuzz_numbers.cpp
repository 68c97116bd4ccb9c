// libFuzzer target: arbitrary bytes as a number text (see fuzz/Properties.h).
#include "fuzz/FuzzMain.h"
#include "fuzz/Properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzOne(numberFault, data, size);
}
