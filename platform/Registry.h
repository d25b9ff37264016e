#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

// Keys under HKEY_LOCAL_MACHINE, in the 64-bit view, where deployment tools look: the
// uninstall entry and the detection keys. Off Windows each key is a text file under
// <sandbox root>/registry, one value a line, so tests read what Windows would hold.
namespace kv::platform::registry
{
    struct Value
    {
        juce::String name;
        juce::String text; // REG_SZ, when not a number
        bool isNumber = false; // REG_DWORD
        juce::uint32 number = 0;

        static Value string (const juce::String& n, const juce::String& t) { return { n, t, false, 0 }; }
        static Value dword (const juce::String& n, juce::uint32 v) { return { n, {}, true, v }; }
    };

    // The key (a path below HKLM, with backslashes) made to hold exactly these values.
    bool writeKey (const juce::String& subKey, const std::vector<Value>& values);

    // The key and its values removed; true also when it was not there.
    bool deleteKey (const juce::String& subKey);

    // The key's values, or nothing when the key does not exist.
    std::optional<std::vector<Value>> readKey (const juce::String& subKey);

    // The stand-in's file of a key off Windows (empty on Windows).
    juce::File standInFileOf (const juce::String& subKey);
}
