#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Turns a broken property into a crash, which libFuzzer records with the
// input saved beside it. The input is printed with its bytes escaped so it
// can be pasted into tests/engine/RegressionTest.cpp.
inline int fuzzOne(std::string (*fault)(const std::string&), const std::uint8_t* data,
                   std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string broken = fault(input);
    if (broken.empty())
        return 0;
    std::fprintf(stderr, "broken: %s\ninput (%zu bytes): \"", broken.c_str(), input.size());
    for (const unsigned char c : input) {
        if (c >= 32 && c < 127 && c != '"' && c != '\\' && c != '?')
            std::fputc(c, stderr);
        else
            std::fprintf(stderr, "\\x%02x\"\"", c);
    }
    std::fputs("\"\n", stderr);
    std::abort();
}
