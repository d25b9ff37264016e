#pragma once

#include <juce_core/juce_core.h>

// Checks that keep a hand-edited or damaged settings file away from JUCE's text and path
// functions, which read past the end of, or loop forever on, malformed text, and recurse
// once per level of nesting.
namespace settings
{
    // Well-formed UTF-8 as the standard defines it: no overlong forms, surrogates, code
    // points past U+10FFFF, truncated sequences or NUL characters.
    bool isWellFormedUtf8 (const void* bytes, size_t numBytes);

    // Well-formed UTF-16 code units after a byte-order mark: whole units, paired
    // surrogates, no NUL characters.
    bool isWellFormedUtf16 (const void* bytes, size_t numBytes, bool bigEndian);

    // An upper bound on the number of elements in the text, and so on their nesting depth.
    int countElementTags (const juce::String& text);

    // True when every name, value and text in the tree is well-formed UTF-8. A character
    // reference such as "&#x80000000;" parses into text that is not.
    bool holdsOnlyWellFormedText (const juce::XmlElement& document);
}
