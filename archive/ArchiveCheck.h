#pragma once

#include "archive/ArchivePlan.h"

// What the installer checks in an archive before it writes anything, as one verdict with
// the entry and the reason; and, for the build, the same with every entry inflated in full.
namespace kv::archive
{
    struct ArchiveCheck
    {
        ArchiveVerdict verdict = ArchiveVerdict::ok;
        juce::String entry; // the entry at fault, if one is
        juce::String reason; // in plain words

        bool passed() const noexcept { return verdict == ArchiveVerdict::ok; }
    };

    // The directory, the layout under the one bundle, names, methods and links: what is checked
    // before anything is unpacked. Fills records and plan for the unpacking.
    ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                     std::vector<ZipRecord>& records, ArchivePlan& plan);

    // The layout check, then every entry inflated with its size and CRC-32 checked.
    ArchiveCheck checkArchiveFully (const void* data, size_t size, const juce::String& bundleName);

    // One line for a maker: the archive, the entry, the reason and the fix.
    juce::String describeForMaker (const juce::String& archiveName, const juce::String& bundleName, const ArchiveCheck& check);
}
