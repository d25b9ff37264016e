#include "text/TextEncoding.h"

#include <juce_core/juce_core.h>

namespace kv::text
{
    namespace
    {
        // What a lead byte promises: the sequence's length and the range its second byte
        // must lie in, which rules out overlong forms, surrogates and values past U+10FFFF.
        struct Utf8Sequence
        {
            size_t length = 0;
            juce::uint8 low = 0x80, high = 0xbf;
        };

        Utf8Sequence sequenceStartedBy (juce::uint8 lead)
        {
            if (lead >= 0xc2 && lead <= 0xdf) return { 2 };
            if (lead == 0xe0) return { 3, 0xa0 };
            if (lead == 0xed) return { 3, 0x80, 0x9f };
            if (lead >= 0xe1 && lead <= 0xef) return { 3 };
            if (lead == 0xf0) return { 4, 0x90 };
            if (lead >= 0xf1 && lead <= 0xf3) return { 4 };
            if (lead == 0xf4) return { 4, 0x80, 0x8f };
            return {};
        }
    }

    bool isWellFormedUtf8 (const void* bytes, size_t numBytes)
    {
        const auto* data = static_cast<const juce::uint8*> (bytes);

        for (size_t i = 0; i < numBytes;)
        {
            if (data[i] == 0)
                return false;

            if (data[i] < 0x80)
            {
                ++i;
                continue;
            }

            const auto sequence = sequenceStartedBy (data[i]);

            if (sequence.length == 0 || numBytes - i < sequence.length
                || data[i + 1] < sequence.low || data[i + 1] > sequence.high)
                return false;

            for (size_t k = 2; k < sequence.length; ++k)
                if ((data[i + k] & 0xc0) != 0x80)
                    return false;

            i += sequence.length;
        }

        return true;
    }

    bool isWellFormedUtf16 (const void* bytes, size_t numBytes, bool bigEndian)
    {
        if (numBytes % 2 != 0)
            return false;

        const auto* data = static_cast<const juce::uint8*> (bytes);
        const auto unitAt = [=] (size_t index)
        {
            const auto first = data[index * 2], second = data[index * 2 + 1];
            return (juce::uint32) (bigEndian ? (first << 8) | second : (second << 8) | first);
        };

        const auto numUnits = numBytes / 2;

        for (size_t i = 0; i < numUnits; ++i)
        {
            const auto unit = unitAt (i);

            if (unit == 0 || (unit >= 0xdc00 && unit <= 0xdfff))
                return false;

            if (unit >= 0xd800 && unit <= 0xdbff)
            {
                if (i + 1 == numUnits || unitAt (i + 1) < 0xdc00 || unitAt (i + 1) > 0xdfff)
                    return false;

                ++i;
            }
        }

        return true;
    }
}
