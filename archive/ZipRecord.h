#pragma once

#include <juce_core/juce_core.h>

namespace kv::archive
{
    // The archive's own records of what each entry must unpack to, read from its central
    // directory: the pass inflates each entry with libdeflate and checks it against them.
    struct ZipRecord
    {
        juce::String name; // as stored, with the archive's separators
        juce::uint16 flags = 0; // the general-purpose flags
        juce::uint16 method = 0;
        juce::uint32 crc32 = 0;
        juce::uint64 compressedSize = 0;
        juce::uint64 uncompressedSize = 0;
        juce::uint32 externalAttributes = 0;
        size_t localHeaderOffset = 0;
        juce::uint16 dosTime = 0, dosDate = 0;

        bool isSymbolicLink() const;

        // The entry's time as JUCE's own reader gives it: the DOS fields read as local time.
        juce::Time modificationTime() const;
        // Whether the data can unpack to the recorded size at all: a stored entry is its own
        // size, and deflate never expands more than 1032 to 1. An entry that fails this is
        // damaged, and is refused before a block of its recorded size is asked for.
        bool sizesAreConsistent() const;
    };
}
