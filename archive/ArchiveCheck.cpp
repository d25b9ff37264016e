#include "archive/ArchiveCheck.h"

#include "archive/EntryInflater.h"

namespace kv::archive
{
    ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                     std::vector<ZipRecord>& records, ArchivePlan& plan)
    {
        ZipFault fault;

        if (! readZipDirectory (data, size, records, &fault))
            return { ArchiveVerdict::damaged, fault.entry, fault.finding };

        plan = planArchive (records, bundleName);
        return { plan.verdict, plan.offendingEntry, plan.finding };
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
            return { ArchiveVerdict::damaged, {}, ArchiveFinding::of (ArchiveDefect::unreadableByZipReader) };

        for (const auto& entry : plan.entries)
        {
            const auto& record = records[(size_t) entry.index];

            if (zip.getEntry (entry.index)->filename != record.name)
                return { ArchiveVerdict::damaged, record.name, ArchiveFinding::of (ArchiveDefect::nameReadDifferently) };

            if (! entry.isDirectory && copyEntryVerified (data, size, record, nullptr) != EntryCopy::ok)
                return { ArchiveVerdict::damaged, record.name, ArchiveFinding::of (ArchiveDefect::dataDoesNotInflate) };
        }

        return check;
    }
}
