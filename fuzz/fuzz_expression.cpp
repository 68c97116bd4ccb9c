// libFuzzer target: arbitrary bytes as an expression (see fuzz/Properties.h).
#include "fuzz/FuzzMain.h"
#include "fuzz/Properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzOne(expressionFault, data, size);
}
