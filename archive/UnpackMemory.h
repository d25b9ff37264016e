#pragma once

#include "archive/ArchiveCheck.h"

namespace kv::archive
{
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
}
