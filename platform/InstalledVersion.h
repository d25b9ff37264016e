#pragma once

#include <juce_core/juce_core.h>

namespace kv::platform
{
    // The fixed file version of a module's version resource as "a.b.c.d", or empty.
    // Windows answers through its own version API; elsewhere our PE reader does.
    juce::String readFileVersion (const juce::File& file);
}
