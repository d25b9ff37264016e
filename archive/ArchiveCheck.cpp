#include "archive/ArchiveCheck.h"

#include "archive/EntryInflater.h"

namespace kv::archive
{
    namespace
    {
        struct MakerFix
        {
            const char* reasonPart;
            const char* fix;
        };

        constexpr const char* eachNameOnce = "make the archive again from the bundle, with each file and folder in it once";
        constexpr const char* remakeUnchanged = "make it again from the bundle with a common ZIP writer (Info-ZIP, 7-Zip, Python's zipfile) and change nothing in it afterwards";

        // The first row whose words the reason holds gives the fix: a local header's method is
        // a disagreement first, not a method to change.
        constexpr MakerFix makerFixes[] = {
            { "local header", remakeUnchanged },
            { "data descriptor", remakeUnchanged },
            { "ZIP64", "write it without ZIP64 records: no plug-in bundle needs them (Info-ZIP: leave out -fz and write to a file, not a pipe)" },
            { "symbolic link", "put the file itself in the bundle instead of a link (Info-ZIP: leave out -y)" },
            { "compression method", "use stored or deflated entries (7-Zip: -mm=Deflate)" },
            { "which Windows does not allow", "rename it in the bundle without any of < > : \" | ? * or control characters" },
            { "Windows keeps for a device", "rename it in the bundle: Windows keeps CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, with any extension, for devices" },
            { "ends in a dot or a space", "rename it in the bundle without the dot or space at the end" },
            { "differs only in case", "rename one of the two in the bundle: Windows does not tell names apart by case" },
            { "the same name", eachNameOnce },
            { "both a file and a folder", eachNameOnce },
            { "split over several files", "write it as one file, not split into parts (Info-ZIP: leave out -s; 7-Zip: leave out -v)" },
            { "self-extracting stub", "embed the plain ZIP archive, not a self-extracting one" },
            { "appended", "remove what was added after the archive, or make it again from the bundle" },
        };

        juce::String fixForMaker (const juce::String& bundleName, const juce::String& reason)
        {
            for (const auto& row : makerFixes)
                if (reason.contains (row.reasonPart))
                    return row.fix;

            if (reason.contains ("top item") || reason.contains ("absolute") || reason.contains ("part"))
                return "zip the bundle itself, so that every entry lies inside " + bundleName + " and nothing beside it";

            return "the archive is damaged: make it again from the bundle";
        }
    }

    ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                     std::vector<ZipRecord>& records, ArchivePlan& plan)
    {
        ZipFault fault;

        if (! readZipDirectory (data, size, records, &fault))
            return { ArchiveVerdict::damaged, fault.entry, fault.reason };

        plan = planArchive (records, bundleName);
        return { plan.verdict, plan.offendingEntry, plan.reason };
    }

    ArchiveCheck checkArchiveFully (const void* data, size_t size, const juce::String& bundleName)
    {
        std::vector<ZipRecord> records;
        ArchivePlan plan;
        auto check = checkArchiveLayout (data, size, bundleName, records, plan);

        if (! check.passed())
            return check;

        juce::ZipFile zip (new juce::MemoryInputStream (data, size, false), true);

        if (zip.getNumEntries() != (int) records.size())
            return { ArchiveVerdict::damaged, {}, "its directory cannot be read by the installer's ZIP reader" };

        for (const auto& entry : plan.entries)
        {
            const auto& record = records[(size_t) entry.index];

            if (zip.getEntry (entry.index)->filename != record.name)
                return { ArchiveVerdict::damaged, record.name, "the installer's ZIP reader reads its name differently" };

            if (! entry.isDirectory && copyEntryVerified (data, size, record, nullptr) != EntryCopy::ok)
                return { ArchiveVerdict::damaged, record.name, "its data does not inflate to the recorded size and CRC-32" };
        }

        return check;
    }

    juce::String describeForMaker (const juce::String& archiveName, const juce::String& bundleName, const ArchiveCheck& check)
    {
        if (check.passed())
            return archiveName + ": ok";

        juce::String line = archiveName;

        if (check.entry.isNotEmpty())
            line << ", entry \"" << check.entry << "\"";

        line << ": " << check.reason << ". Fix: " << fixForMaker (bundleName, check.reason) << ".";
        return line;
    }
}
