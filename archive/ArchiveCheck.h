#pragma once

#include "archive/ArchiveFinding.h"
#include "archive/ArchivePlan.h"

// What the installer checks in an archive before it writes anything, as one verdict with
// the entry and what is wrong with it; and, for the build, the same with every entry inflated
// in full. messages/ArchiveWords.h says it in words.
namespace kv::archive
{
    struct ArchiveCheck
    {
        ArchiveVerdict verdict = ArchiveVerdict::ok;
        juce::String entry; // the entry at fault, if one is
        ArchiveFinding finding; // why, when it did not pass

        bool passed() const noexcept { return verdict == ArchiveVerdict::ok; }
    };

    // The directory, the layout under the one bundle, names, methods and links: what is checked
    // before anything is unpacked. Fills records and plan for the unpacking.
    ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                     std::vector<ZipRecord>& records, ArchivePlan& plan);

    // The layout check, then every entry inflated with its size and CRC-32 checked.
    ArchiveCheck checkArchiveFully (const void* data, size_t size, const juce::String& bundleName);
}
