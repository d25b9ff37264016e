#pragma once

#include <juce_core/juce_core.h>

// What is wrong with an archive, as a fact: the kind of defect and the few values that tell
// it apart (a count, a size, a field's two values, a name, a character). messages/ makes the
// words, for the maker at build time and for the person whose install it stopped.
namespace kv::archive
{
    enum class ArchiveDefect
    {
        none,

        // The end record and the central directory
        tooShort, // smaller than an end record
        noEndRecord,
        bytesAfterEnd, // values[0]: how many
        splitOverDisks, // values[0]: the disk the end record names
        zip64,
        entryCountsDiffer, // values: the count on this disk, the count in all
        directoryOutside,
        bytesBeforeFirstEntry, // values[0]: how many (a self-extracting stub)
        bytesBeforeEndRecord, // values[0]: how many, between the directory and its end record
        fewerRecordsThanCounted, // values: the count, the records found
        directoryLongerThanCounted, // values: the bytes left over, the count
        directoryBroken, // values[0]: the entry, counted from 1
        nameNotUtf8, // values[0]: the entry, counted from 1
        entryOnOtherDisk, // values[0]: the disk

        // An entry's local header and data descriptor against its central record; values: the
        // local header's or descriptor's value, then the central directory's
        dataOutside,
        localHeaderMissing,
        localNameDiffers,
        localFlagsDiffer,
        localMethodDiffers,
        localCrcDiffers,
        localCompressedSizeDiffers,
        localSizeDiffers,
        descriptorMissing,
        descriptorCrcDiffers,
        descriptorCompressedSizeDiffers,
        descriptorSizeDiffers,

        // Read in full, every entry inflated
        unreadableByZipReader,
        nameReadDifferently,
        dataDoesNotInflate,

        // The plan: where each entry would go
        noEntries,
        compressionMethod, // values[0]: the method
        sizeImpossible, // a recorded size the data cannot unpack to
        symbolicLink,
        absoluteName, // absolute, a drive, or control characters
        dotDotPart, // an empty, "." or ".." part
        outsideBundle, // other: the bundle's name

        // Names Windows cannot hold
        windowsControlChar,
        windowsForbiddenChar, // character: the one
        deviceName, // name: the part
        trailingDotOrSpace, // name: the part
        differsOnlyInCase, // name: the path; other: the earlier entry's spelling
        fileAndFolder, // name: the path
        sameName,

        // Memory to unpack it
        tooLittleMemory, // values: the bytes it takes, the bytes the machine has
        cannotSpareMemory, // values[0]: the largest entry's size

        // The build's second ZIP reader (libzip) refuses it; other: what that reader said
        secondReaderRefuses,

        lastDefect = secondReaderRefuses
    };

    struct ArchiveFinding
    {
        ArchiveDefect defect = ArchiveDefect::none;
        juce::String name; // a path, or one part of it, the defect is about
        juce::String other; // the other name: an earlier entry's, the bundle's, another reader's words
        juce::int64 values[2] {};
        juce::juce_wchar character = 0;

        bool found() const noexcept { return defect != ArchiveDefect::none; }

        static ArchiveFinding of (ArchiveDefect defect, juce::int64 first = 0, juce::int64 second = 0)
        {
            ArchiveFinding finding;
            finding.defect = defect;
            finding.values[0] = first;
            finding.values[1] = second;
            return finding;
        }

        static ArchiveFinding naming (ArchiveDefect defect, const juce::String& name, const juce::String& other = {})
        {
            auto finding = of (defect);
            finding.name = name;
            finding.other = other;
            return finding;
        }
    };
}
