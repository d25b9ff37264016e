#pragma once

#include "archive/ZipDirectory.h"

namespace kv::archive
{
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
}
