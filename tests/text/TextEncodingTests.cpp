#include <gtest/gtest.h>

#include "text/TextEncoding.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace
{
    bool utf8 (std::initializer_list<int> bytes)
    {
        std::vector<juce::uint8> data;
        for (auto b : bytes)
            data.push_back ((juce::uint8) b);
        return kv::text::isWellFormedUtf8 (data.data(), data.size());
    }

    bool utf16 (std::initializer_list<juce::uint16> units, bool bigEndian)
    {
        std::vector<juce::uint8> data;
        for (auto u : units)
        {
            const auto high = (juce::uint8) (u >> 8), low = (juce::uint8) (u & 0xff);
            data.push_back (bigEndian ? high : low);
            data.push_back (bigEndian ? low : high);
        }
        return kv::text::isWellFormedUtf16 (data.data(), data.size(), bigEndian);
    }
}

TEST (TextEncoding, Utf8AcceptsEveryRangeUpToTheLastCodePoint)
{
    EXPECT_TRUE (utf8 ({}));
    EXPECT_TRUE (utf8 ({ 'C', ':', '\\' }));
    EXPECT_TRUE (utf8 ({ 0xc3, 0xa9 })); // é
    EXPECT_TRUE (utf8 ({ 0xe2, 0x82, 0xac })); // €
    EXPECT_TRUE (utf8 ({ 0xed, 0x9f, 0xbf })); // U+D7FF, just below the surrogates
    EXPECT_TRUE (utf8 ({ 0xef, 0xbf, 0xbf })); // U+FFFF
    EXPECT_TRUE (utf8 ({ 0xf0, 0x9f, 0x8e, 0xb9 })); // 🎹
    EXPECT_TRUE (utf8 ({ 0xf4, 0x8f, 0xbf, 0xbf })); // U+10FFFF
}

TEST (TextEncoding, Utf8RefusesWhatJuceWouldMisread)
{
    EXPECT_FALSE (utf8 ({ 'a', 0x00, 'b' })); // NUL
    EXPECT_FALSE (utf8 ({ 0xc0, 0x80 })); // overlong NUL, which JUCE reads as the end
    EXPECT_FALSE (utf8 ({ 0xc1, 0xbf })); // overlong ASCII
    EXPECT_FALSE (utf8 ({ 0xe0, 0x80, 0xaf })); // overlong '/'
    EXPECT_FALSE (utf8 ({ 0xf0, 0x80, 0x80, 0x80 })); // overlong NUL in four bytes
    EXPECT_FALSE (utf8 ({ 0xed, 0xa0, 0x80 })); // a surrogate
    EXPECT_FALSE (utf8 ({ 0xf4, 0x90, 0x80, 0x80 })); // past U+10FFFF
    EXPECT_FALSE (utf8 ({ 0xf7, 0xbf, 0xbf, 0xbf })); // a lead byte no character has
    EXPECT_FALSE (utf8 ({ 0xf8, 0x88, 0x80, 0x80, 0x80 }));
    EXPECT_FALSE (utf8 ({ 0xff }));
    EXPECT_FALSE (utf8 ({ 0x80, 'a' })); // a stray continuation byte
    EXPECT_FALSE (utf8 ({ 'a', 0xe2, 0x82 })); // cut off at the end
    EXPECT_FALSE (utf8 ({ 0xe2, 'a', 0xac })); // interrupted
}

TEST (TextEncoding, Utf16NeedsWholeUnitsAndPairedSurrogates)
{
    for (const auto bigEndian : { false, true })
    {
        EXPECT_TRUE (utf16 ({ '<', 'a', '/', '>' }, bigEndian));
        EXPECT_TRUE (utf16 ({ 0xd83c, 0xdfb9 }, bigEndian)); // 🎹 as a pair
        EXPECT_FALSE (utf16 ({ 0xd800, 'A' }, bigEndian));
        EXPECT_FALSE (utf16 ({ 'A', 0xd800 }, bigEndian));
        EXPECT_FALSE (utf16 ({ 0xdc00, 0xdc00 }, bigEndian));
        EXPECT_FALSE (utf16 ({ 'A', 0 }, bigEndian));
    }

    const juce::uint8 oddLength[] = { '<', 0, 'a' };
    EXPECT_FALSE (kv::text::isWellFormedUtf16 (oddLength, sizeof (oddLength), false));
}
