#pragma once

#include <juce_core/juce_core.h>

// Checks that keep a hand-edited or damaged settings file away from JUCE's parser, which
// recurses once per level of nesting, and from its path functions, which overrun or loop
// forever on malformed text.
namespace settings
{
    // True when the bytes are well-formed UTF-8, or well-formed UTF-16 after a byte-order mark.
    bool isWellFormedFileText (const void* bytes, size_t numBytes);

    // The text of bytes that passed that check. UTF-16 is decoded here, surrogate pairs
    // included: JUCE 7's own decoding turns each half of a pair into a character of its own.
    juce::String decodeFileText (const void* bytes, size_t numBytes);

    // An upper bound on the number of elements in the text, and so on their nesting depth.
    int countElementTags (const juce::String& text);

    // True when every name, value and text in the tree is well-formed UTF-8. A character
    // reference such as "&#x80000000;" parses into text that is not.
    bool holdsOnlyWellFormedText (const juce::XmlElement& document);
}
