#include "install/ArchiveCheck.h"

#include <zlib.h>

EntryCopy copyEntryVerified (juce::ZipFile& zip, int index, const ZipRecord& record, juce::OutputStream* out)
{
    std::unique_ptr<juce::InputStream> in (zip.createStreamForEntry (index));

    if (in == nullptr)
        return EntryCopy::damaged;

    constexpr int bufferSize = 256 * 1024;
    juce::HeapBlock<char> buffer (bufferSize);
    uLong crc = crc32 (0L, Z_NULL, 0);
    juce::uint64 total = 0;

    for (;;)
    {
        const auto got = in->read (buffer.get(), bufferSize);

        if (got <= 0)
            break;

        total += (juce::uint64) got;

        if (total > record.uncompressedSize)
            return EntryCopy::damaged;

        crc = crc32 (crc, reinterpret_cast<const Bytef*> (buffer.get()), (uInt) got);

        if (out != nullptr && ! out->write (buffer.get(), (size_t) got))
            return EntryCopy::writeFailed;
    }

    if (out != nullptr)
    {
        out->flush();

        if (auto* fileOut = dynamic_cast<juce::FileOutputStream*> (out))
            if (fileOut->getStatus().failed())
                return EntryCopy::writeFailed;
    }

    if (total != record.uncompressedSize || (juce::uint32) crc != record.crc32)
        return EntryCopy::damaged;

    return EntryCopy::ok;
}

ArchiveCheck checkArchiveLayout (const void* data, size_t size, const juce::String& bundleName,
                                 std::vector<ZipRecord>& records, ArchivePlan& plan)
{
    ArchiveCheck check;
    juce::String why;

    if (! readZipDirectory (data, size, records, &why))
        return { ArchiveVerdict::damaged, {}, why };

    plan = planArchive (records, bundleName);

    if (plan.verdict != ArchiveVerdict::ok)
        return { plan.verdict, plan.offendingEntry, plan.reason };

    return check;
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

        if (! entry.isDirectory && copyEntryVerified (zip, entry.index, record, nullptr) != EntryCopy::ok)
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
