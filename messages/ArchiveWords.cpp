#include "messages/ArchiveWords.h"

namespace kv::messages
{
    using archive::ArchiveDefect;
    using archive::ArchiveFinding;

    namespace
    {
        juce::String byteCount (juce::int64 n) { return juce::String (n) + (n == 1 ? " byte" : " bytes"); }

        juce::String hex (juce::int64 value, int digits) { return "0x" + juce::String::toHexString (value).paddedLeft ('0', digits); }

        juce::String inWords (juce::int64 bytes) { return juce::File::descriptionOfSizeInBytes (bytes); }

        juce::String quoted (const juce::String& name) { return "\"" + name + "\""; }

        // "its local header gives CRC-32 0x12345678, its central directory 0x9abcdef0"
        juce::String differs (const char* where, const char* field, const juce::String& local, const juce::String& central)
        {
            return juce::String ("its ") + where + " gives " + field + " " + local + ", its central directory " + central;
        }

        juce::String crcDiffers (const char* where, const ArchiveFinding& f)
        {
            return differs (where, "CRC-32", hex (f.values[0], 8), hex (f.values[1], 8));
        }

        juce::String sizeDiffers (const char* where, const char* field, const ArchiveFinding& f)
        {
            return differs (where, field, juce::String (f.values[0]), juce::String (f.values[1]));
        }

        constexpr const char* eachNameOnce = "make the archive again from the bundle, with each file and folder in it once";
        constexpr const char* remakeUnchanged = "make it again from the bundle with a common ZIP writer (Info-ZIP, 7-Zip, Python's zipfile) and change nothing in it afterwards";
        constexpr const char* remakeDamaged = "the archive is damaged: make it again from the bundle";
    }

    juce::String archiveReason (const ArchiveFinding& f)
    {
        const auto n = f.values[0];

        switch (f.defect)
        {
            case ArchiveDefect::none: return {};

            case ArchiveDefect::tooShort: return "it is not a ZIP archive, or it is cut short";
            case ArchiveDefect::noEndRecord: return "it is not a ZIP archive, or it is cut short (no end of central directory record)";
            case ArchiveDefect::bytesAfterEnd: return "it has " + byteCount (n) + " after its end record (data appended to the archive?)";
            case ArchiveDefect::splitOverDisks: return "it is one part of an archive split over several files (its end record names disk " + juce::String (n) + ")";
            case ArchiveDefect::zip64: return "it is written with ZIP64 records, which the installer cannot read";
            case ArchiveDefect::entryCountsDiffer: return "its end record gives two entry counts, " + juce::String (n) + " and " + juce::String (f.values[1]);
            case ArchiveDefect::directoryOutside: return "its central directory lies outside the archive";
            case ArchiveDefect::bytesBeforeFirstEntry: return "it has " + byteCount (n) + " before its first entry (a self-extracting stub?)";
            case ArchiveDefect::bytesBeforeEndRecord: return "it has " + byteCount (n) + " between its central directory and its end record";
            case ArchiveDefect::fewerRecordsThanCounted:
                return "its end record counts " + juce::String (n) + " entries, but its central directory holds " + juce::String (f.values[1]);
            case ArchiveDefect::directoryLongerThanCounted:
                return "its central directory is " + byteCount (n) + " longer than the " + juce::String (f.values[1]) + " entries its end record counts";
            case ArchiveDefect::directoryBroken: return "its central directory is broken at entry " + juce::String (n);
            case ArchiveDefect::nameNotUtf8: return "entry " + juce::String (n) + " has a name that is not well-formed UTF-8";
            case ArchiveDefect::entryOnOtherDisk: return "it lies on disk " + juce::String (n) + " of an archive split over several files";

            case ArchiveDefect::dataOutside: return "its data lies outside the archive";
            case ArchiveDefect::localHeaderMissing: return "its local header is missing";
            case ArchiveDefect::localNameDiffers: return "its name in its local header differs from its name in the central directory";
            case ArchiveDefect::localFlagsDiffer: return differs ("local header", "general-purpose flags", hex (n, 4), hex (f.values[1], 4));
            case ArchiveDefect::localMethodDiffers: return sizeDiffers ("local header", "compression method", f);
            case ArchiveDefect::localCrcDiffers: return crcDiffers ("local header", f);
            case ArchiveDefect::localCompressedSizeDiffers: return sizeDiffers ("local header", "compressed size", f);
            case ArchiveDefect::localSizeDiffers: return sizeDiffers ("local header", "uncompressed size", f);
            case ArchiveDefect::descriptorMissing: return "its data descriptor is missing";
            case ArchiveDefect::descriptorCrcDiffers: return crcDiffers ("data descriptor", f);
            case ArchiveDefect::descriptorCompressedSizeDiffers: return sizeDiffers ("data descriptor", "compressed size", f);
            case ArchiveDefect::descriptorSizeDiffers: return sizeDiffers ("data descriptor", "uncompressed size", f);

            case ArchiveDefect::unreadableByZipReader: return "its directory cannot be read by the installer's ZIP reader";
            case ArchiveDefect::nameReadDifferently: return "the installer's ZIP reader reads its name differently";
            case ArchiveDefect::dataDoesNotInflate: return "its data does not inflate to the recorded size and CRC-32";

            case ArchiveDefect::noEntries: return "it holds no entries";
            case ArchiveDefect::compressionMethod: return "compression method " + juce::String (n) + " is neither stored nor deflated";
            case ArchiveDefect::sizeImpossible: return "its recorded size is not one its data can unpack to";
            case ArchiveDefect::symbolicLink: return "it is a symbolic link";
            case ArchiveDefect::absoluteName: return "its name is absolute, names a drive or holds control characters";
            case ArchiveDefect::dotDotPart: return "its path has an empty, \".\" or \"..\" part";
            case ArchiveDefect::outsideBundle: return "it is not inside " + f.other + ", the archive's one top item";

            case ArchiveDefect::windowsControlChar: return "its name holds a control character, which Windows does not allow in file names";
            case ArchiveDefect::windowsForbiddenChar:
                return "its name holds " + quoted (juce::String::charToString (f.character)) + ", which Windows does not allow in file names";
            case ArchiveDefect::deviceName: return quoted (f.name) + " in its path is a name Windows keeps for a device";
            case ArchiveDefect::trailingDotOrSpace: return quoted (f.name) + " in its path ends in a dot or a space, which Windows drops";
            case ArchiveDefect::differsOnlyInCase:
                return quoted (f.name) + " differs only in case from " + quoted (f.other) + ", which Windows takes for the same name";
            case ArchiveDefect::fileAndFolder: return quoted (f.name) + " is both a file and a folder";
            case ArchiveDefect::sameName: return "another entry has the same name";

            case ArchiveDefect::tooLittleMemory: return "unpacking it takes " + inWords (n) + " of memory, and this computer has " + inWords (f.values[1]);
            case ArchiveDefect::cannotSpareMemory: return "this computer cannot spare the " + inWords (n) + " it takes to unpack";

            case ArchiveDefect::secondReaderRefuses: return "libzip, the build's second ZIP reader, refuses it (" + f.other + ")";
        }

        return {};
    }

    juce::String fixForMaker (const ArchiveFinding& finding, const juce::String& bundleName)
    {
        switch (finding.defect)
        {
            case ArchiveDefect::none: return {};

            // A local header's or descriptor's field is a disagreement first, whichever field it
            // is: not a method to change.
            case ArchiveDefect::localHeaderMissing:
            case ArchiveDefect::localNameDiffers:
            case ArchiveDefect::localFlagsDiffer:
            case ArchiveDefect::localMethodDiffers:
            case ArchiveDefect::localCrcDiffers:
            case ArchiveDefect::localCompressedSizeDiffers:
            case ArchiveDefect::localSizeDiffers:
            case ArchiveDefect::descriptorMissing:
            case ArchiveDefect::descriptorCrcDiffers:
            case ArchiveDefect::descriptorCompressedSizeDiffers:
            case ArchiveDefect::descriptorSizeDiffers: return remakeUnchanged;

            case ArchiveDefect::zip64: return "write it without ZIP64 records: no plug-in bundle needs them (Info-ZIP: leave out -fz and write to a file, not a pipe)";
            case ArchiveDefect::symbolicLink: return "put the file itself in the bundle instead of a link (Info-ZIP: leave out -y)";
            case ArchiveDefect::compressionMethod: return "use stored or deflated entries (7-Zip: -mm=Deflate)";
            case ArchiveDefect::windowsControlChar:
            case ArchiveDefect::windowsForbiddenChar: return "rename it in the bundle without any of < > : \" | ? * or control characters";
            case ArchiveDefect::deviceName:
                return "rename it in the bundle: Windows keeps CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, with any extension, for devices";
            case ArchiveDefect::trailingDotOrSpace: return "rename it in the bundle without the dot or space at the end";
            case ArchiveDefect::differsOnlyInCase: return "rename one of the two in the bundle: Windows does not tell names apart by case";
            case ArchiveDefect::sameName:
            case ArchiveDefect::fileAndFolder: return eachNameOnce;
            case ArchiveDefect::splitOverDisks:
            case ArchiveDefect::entryOnOtherDisk: return "write it as one file, not split into parts (Info-ZIP: leave out -s; 7-Zip: leave out -v)";
            case ArchiveDefect::bytesBeforeFirstEntry: return "embed the plain ZIP archive, not a self-extracting one";
            case ArchiveDefect::bytesAfterEnd: return "remove what was added after the archive, or make it again from the bundle";

            case ArchiveDefect::absoluteName:
            case ArchiveDefect::dotDotPart:
            case ArchiveDefect::outsideBundle: return "zip the bundle itself, so that every entry lies inside " + bundleName + " and nothing beside it";

            case ArchiveDefect::tooShort:
            case ArchiveDefect::noEndRecord:
            case ArchiveDefect::entryCountsDiffer:
            case ArchiveDefect::directoryOutside:
            case ArchiveDefect::bytesBeforeEndRecord:
            case ArchiveDefect::fewerRecordsThanCounted:
            case ArchiveDefect::directoryLongerThanCounted:
            case ArchiveDefect::directoryBroken:
            case ArchiveDefect::nameNotUtf8:
            case ArchiveDefect::dataOutside:
            case ArchiveDefect::unreadableByZipReader:
            case ArchiveDefect::nameReadDifferently:
            case ArchiveDefect::dataDoesNotInflate:
            case ArchiveDefect::noEntries:
            case ArchiveDefect::sizeImpossible:
            case ArchiveDefect::tooLittleMemory:
            case ArchiveDefect::cannotSpareMemory:
            case ArchiveDefect::secondReaderRefuses: return remakeDamaged;
        }

        return {};
    }

    juce::String describeForMaker (const juce::String& archiveName, const juce::String& bundleName, const archive::ArchiveCheck& check)
    {
        if (check.passed())
            return archiveName + ": ok";

        juce::String line = archiveName;

        if (check.entry.isNotEmpty())
            line << ", entry \"" << check.entry << "\"";

        line << ": " << archiveReason (check.finding) << ". Fix: " << fixForMaker (check.finding, bundleName) << ".";
        return line;
    }
}
