#pragma once

#include <juce_core/juce_core.h>

// The byte layout of the classic ZIP records the archive layer reads: little-endian fields at
// fixed offsets, as the format's note (APPNOTE.TXT) lays them out.
namespace kv::archive::zip
{
    inline juce::uint16 read16 (const juce::uint8* p) { return (juce::uint16) (p[0] | (p[1] << 8)); }
    inline juce::uint32 read32 (const juce::uint8* p) { return (juce::uint32) read16 (p) | ((juce::uint32) read16 (p + 2) << 16); }

    constexpr juce::uint32 localHeaderSignature = 0x04034b50;
    constexpr juce::uint32 dataDescriptorSignature = 0x08074b50;
    constexpr juce::uint32 directoryEntrySignature = 0x02014b50;
    constexpr juce::uint32 zip64LocatorSignature = 0x07064b50;
    constexpr juce::uint32 endOfDirectorySignature = 0x06054b50;

    constexpr size_t localHeaderSize = 30;
    constexpr size_t entryHeaderSize = 46;
    constexpr size_t zip64LocatorSize = 20;
    constexpr size_t endRecordSize = 22;
    constexpr size_t maximumCommentSize = 0xffff;

    // General-purpose flag bit 3: the CRC-32 and sizes follow the data, in a data descriptor.
    constexpr juce::uint16 dataDescriptorFlag = 1 << 3;
}
