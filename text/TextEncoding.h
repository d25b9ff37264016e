#pragma once

#include <cstddef>

// JUCE's String keeps whatever bytes it is given, and its text and path functions overrun,
// or loop forever, on malformed ones: bytes from outside the program are checked here first.
namespace kv::text
{
    // Well-formed UTF-8 as the standard defines it: no overlong forms, surrogates, code
    // points past U+10FFFF, truncated sequences or NUL characters.
    bool isWellFormedUtf8 (const void* bytes, size_t numBytes);

    // Well-formed UTF-16 code units: whole units, paired surrogates, no NUL characters.
    bool isWellFormedUtf16 (const void* bytes, size_t numBytes, bool bigEndian);
}
