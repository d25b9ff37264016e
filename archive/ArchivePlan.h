#pragma once

#include "archive/ZipDirectory.h"

// Decides, before anything is written, where each archive entry goes inside the staging
// folder, and refuses archives that would write anywhere but the one bundle.
namespace kv::archive
{
    struct PlannedEntry
    {
        int index = 0; // the entry's index in the archive
        juce::String relativePath; // "/"-separated, below the folder the archive unpacks into
        bool isDirectory = false;
    };

    enum class ArchiveVerdict
    {
        ok,
        damaged, // no entries, an unknown compression method, an unreadable directory
        unsafe, // absolute names, "..", links, entries outside the bundle, names Windows cannot hold
        tooLarge // more than this computer's memory can unpack: only from checkMemoryToUnpack
    };

    struct ArchivePlan
    {
        ArchiveVerdict verdict = ArchiveVerdict::ok;
        juce::String offendingEntry;
        ArchiveFinding finding; // why, when refused
        std::vector<PlannedEntry> entries;
    };

    ArchivePlan planArchive (const std::vector<ZipRecord>& records, const juce::String& bundleName);
}
