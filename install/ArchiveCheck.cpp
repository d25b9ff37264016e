#include "install/ArchiveCheck.h"

#include <zlib.h>

namespace
{
    constexpr size_t chunkSize = 256 * 1024;

    // The bytes of one entry as they come out of the archive, a chunk at a time.
    template <typename Consume>
    bool inflateEntry (const juce::uint8* data, const ZipRecord& record, Consume&& consume)
    {
        if (record.method == 0)
        {
            if (record.compressedSize != record.uncompressedSize)
                return false;

            for (juce::uint64 done = 0; done < record.compressedSize;)
            {
                const auto n = (size_t) juce::jmin<juce::uint64> (chunkSize, record.compressedSize - done);
                if (! consume (data + done, n))
                    return false;
                done += n;
            }

            return true;
        }

        // Raw deflate, read in place: no copy of the compressed bytes, no stream layers.
        z_stream stream {};
        if (inflateInit2 (&stream, -MAX_WBITS) != Z_OK)
            return false;

        juce::HeapBlock<juce::uint8> buffer (chunkSize);
        stream.next_in = const_cast<Bytef*> (data);
        stream.avail_in = (uInt) record.compressedSize;
        int result = Z_OK;

        while (result == Z_OK)
        {
            stream.next_out = buffer.get();
            stream.avail_out = (uInt) chunkSize;
            result = inflate (&stream, Z_NO_FLUSH);

            const auto produced = chunkSize - stream.avail_out;
            if ((result != Z_OK && result != Z_STREAM_END) || (produced > 0 && ! consume (buffer.get(), produced)))
            {
                result = Z_DATA_ERROR;
                break;
            }

            if (result == Z_OK && produced == 0 && stream.avail_in == 0)
                result = Z_BUF_ERROR; // the data ends before the stream does
        }

        inflateEnd (&stream);
        return result == Z_STREAM_END;
    }
}

EntryCopy copyEntryVerified (const void* archive, size_t archiveSize, const ZipRecord& record, juce::OutputStream* out)
{
    const auto* data = zipEntryData (archive, archiveSize, record);

    if (data == nullptr)
        return EntryCopy::damaged;

    uLong crc = crc32 (0L, Z_NULL, 0);
    juce::uint64 total = 0;
    bool writeFailed = false;

    const auto inflated = inflateEntry (data, record, [&] (const juce::uint8* bytes, size_t n)
                                        {
        total += n;

        if (total > record.uncompressedSize)
            return false;

        crc = crc32_z (crc, bytes, n);

        if (out != nullptr && ! out->write (bytes, n))
            return ! (writeFailed = true);

        return true; });

    if (writeFailed)
        return EntryCopy::writeFailed;

    if (out != nullptr)
    {
        out->flush();

        if (auto* fileOut = dynamic_cast<juce::FileOutputStream*> (out))
            if (fileOut->getStatus().failed())
                return EntryCopy::writeFailed;
    }

    if (! inflated || total != record.uncompressedSize || (juce::uint32) crc != record.crc32)
        return EntryCopy::damaged;

    return EntryCopy::ok;
}

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
