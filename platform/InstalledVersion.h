#pragma once

#include <juce_core/juce_core.h>

// What the status read asks of a destination. On Windows every path goes in the "\\?\" form,
// so that a destination past 260 characters reads as it is whatever the long-path policy.
namespace kv::platform
{
    // A file or a folder at the path (a link counts as what it points at).
    bool itemExists (const juce::File& item);

    // The fixed file version of a module's version resource as "a.b.c.d", or empty.
    // Windows answers through its own version API where the path is short enough for it;
    // elsewhere, and past that, our PE reader does.
    juce::String readFileVersion (const juce::File& file);
}
