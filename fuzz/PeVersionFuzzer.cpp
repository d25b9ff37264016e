// The PE version reader on arbitrary bytes: it must never crash, hang or read outside the
// input, and what it returns is either empty or four decimal numbers joined by dots.
#include "pe/PeVersionReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    kv::pe::MemoryByteSource source (data, size);
    const auto version = kv::pe::readPeFileVersion (source);

    int dots = 0;
    for (char c : version)
    {
        if (c == '.')
            ++dots;
        else if (c < '0' || c > '9')
            std::abort();
    }

    if (! version.empty() && dots != 3)
        std::abort();

    return 0;
}
