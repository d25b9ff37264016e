#pragma once

#include "archive/ArchiveFinding.h"
#include "archive/ZipRecord.h"

// Each entry is described twice: by the local header before its data and by its record in the
// central directory. Readers differ in which they trust (the installer, Python and 7-Zip read
// the directory; streaming readers the local headers), so an archive where the two disagree
// unpacks differently depending on who reads it.
namespace kv::archive
{
    // Where the local header of record (and its data descriptor, when it has one) disagrees
    // with its central record centralRecord, with the field and both its values; nothing found
    // when they agree. dataEnd is where the central directory starts: every entry's header,
    // data and descriptor lie before.
    ArchiveFinding localHeaderDisagreement (const juce::uint8* archive, size_t dataEnd, const juce::uint8* centralRecord, const ZipRecord& record);

    // Where a record's data starts, found through its local header; nullptr when that header is
    // missing or the data runs past the end.
    const juce::uint8* zipEntryData (const void* data, size_t size, const ZipRecord& record);
}
