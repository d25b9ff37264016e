#pragma once

#include "install/ArchivePlan.h"

// What the installer checks in an archive before it writes anything, as one verdict with
// the entry and the reason; and, for the build, the same with every entry inflated in full.

struct ArchiveCheck
{
    ArchiveVerdict verdict = ArchiveVerdict::ok;
    juce::String entry; // the entry at fault, if one is
    juce::String reason; // in plain words

    bool passed() const noexcept { return verdict == ArchiveVerdict::ok; }
};

enum class EntryCopy
{
    ok,
    damaged, // the data does not inflate to the recorded size and CRC-32
    writeFailed
};

// Inflates one entry straight from the archive's bytes, whole, into a block of its recorded
// size, checks its size and CRC-32 against the archive's records, and only then writes it to
// out (when out is given) in one go. A stored entry is checked and written from the archive.
EntryCopy copyEntryVerified (const void* archive, size_t archiveSize, const ZipRecord& record, juce::OutputStream* out);

// What a pass holds at most while it unpacks this archive: its private copy, a block of its
// largest deflated entry, and a margin for everything else.
juce::uint64 memoryToUnpack (const std::vector<ZipRecord>& records, size_t archiveSize);

// The machine's physical memory, in bytes.
juce::uint64 machineMemoryBytes();

// Refuses (verdict tooLarge, naming the largest entry) an archive whose unpacking needs more
// memory than the machine has, or whose largest entry cannot be given its block now. Called
// before anything is created, so a refusal leaves the installed copy as it was.
ArchiveCheck checkMemoryToUnpack (const std::vector<ZipRecord>& records, size_t archiveSize,
                                  juce::uint64 machineBytes = machineMemoryBytes());

// The directory, the layout under the one bundle, names, methods and links: what is checked
// before anything is unpacked. Fills records and plan for the unpacking.
ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                 std::vector<ZipRecord>& records, ArchivePlan& plan);

// The layout check, then every entry inflated with its size and CRC-32 checked.
ArchiveCheck checkArchiveFully (const void* data, size_t size, const juce::String& bundleName);

// One line for a maker: the archive, the entry, the reason and the fix.
juce::String describeForMaker (const juce::String& archiveName, const juce::String& bundleName, const ArchiveCheck& check);
