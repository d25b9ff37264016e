#include "archive/ArchiveCheck.h"

#include "archive/EntryInflater.h"

namespace kv::archive
{
    ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                     std::vector<ZipRecord>& records, ArchivePlan& plan)
    {
        juce::String why;

        if (! readZipDirectory (data, size, records, &why))
            return { ArchiveVerdict::damaged, {}, why };

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

        juce::String fix;

        if (check.reason.contains ("ZIP64"))
            fix = "write it without ZIP64 records: no plug-in bundle needs them (Info-ZIP: leave out -fz and write to a file, not a pipe)";
        else if (check.reason.contains ("symbolic link"))
            fix = "put the file itself in the bundle instead of a link (Info-ZIP: leave out -y)";
        else if (check.reason.contains ("top item") || check.reason.contains ("absolute") || check.reason.contains ("part"))
            fix = "zip the bundle itself, so that every entry lies inside " + bundleName + " and nothing beside it";
        else if (check.reason.contains ("compression method"))
            fix = "use stored or deflated entries (7-Zip: -mm=Deflate)";
        else
            fix = "the archive is damaged: make it again from the bundle";

        juce::String line = archiveName;

        if (check.entry.isNotEmpty())
            line << ", entry \"" << check.entry << "\"";

        line << ": " << check.reason << ". Fix: " << fix << ".";
        return line;
    }
}
