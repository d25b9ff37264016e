#pragma once

#include "archive/ZipLocalHeader.h"
#include "archive/ZipRecord.h"

#include <vector>

namespace kv::archive
{
    // Why an archive cannot be read, and the entry at fault when there is one.
    struct ZipFault
    {
        juce::String entry;
        ArchiveFinding finding;
    };

    // The central directory's records in archive order; false when the directory is missing,
    // truncated, inconsistent with the data's size or with the local headers, split over disks,
    // has bytes before its first entry or after its end record, or is written with ZIP64
    // records (which no plug-in bundle needs). Every reader must unpack an archive that passes
    // to the same files. Why not goes to fault when given.
    bool readZipDirectory (const void* data, size_t size, std::vector<ZipRecord>& records, ZipFault* fault = nullptr);
}
