#include "install/ArchiveCheck.h"

#include "platform/LargeBlock.h"

#include <libdeflate.h>

#include <memory>
#include <optional>

namespace
{
    // Room for the rest of a pass: file buffers, the ZIP reader's tables, the decompressor.
    constexpr juce::uint64 marginBytes = 16 * 1024 * 1024;

    // Linux writes at most about 2 GiB in one call, and WriteFile counts in 32 bits.
    constexpr juce::uint64 largestWrite = 1 << 30;

    struct FreeDecompressor
    {
        void operator() (libdeflate_decompressor* d) const { libdeflate_free_decompressor (d); }
    };

    bool writeAll (juce::OutputStream& out, const juce::uint8* bytes, juce::uint64 size)
    {
        for (juce::uint64 done = 0; done < size;)
        {
            const auto n = juce::jmin (largestWrite, size - done);

            if (! out.write (bytes + done, (size_t) n))
                return false;

            done += n;
        }

        return true;
    }

    const ZipRecord* largestDeflatedEntry (const std::vector<ZipRecord>& records)
    {
        const ZipRecord* largest = nullptr;

        for (const auto& record : records)
            if (record.method != 0 && (largest == nullptr || record.uncompressedSize > largest->uncompressedSize))
                largest = &record;

        return largest;
    }

    juce::String inWords (juce::uint64 bytes)
    {
        return juce::File::descriptionOfSizeInBytes ((juce::int64) bytes);
    }
}

EntryCopy copyEntryVerified (const void* archive, size_t archiveSize, const ZipRecord& record, juce::OutputStream* out)
{
    const auto* data = zipEntryData (archive, archiveSize, record);

    if (data == nullptr || (record.method != 0 && record.method != 8) || ! record.sizesAreConsistent())
        return EntryCopy::damaged;

    const auto size = record.uncompressedSize;
    const juce::uint8* bytes = data;
    std::optional<kv::platform::LargeBlock> inflated;

    if (record.method == 8)
    {
        inflated.emplace (size);
        std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor (libdeflate_alloc_decompressor());

        // Without memory for it the entry cannot be written; the memory check before the
        // pass refuses such archives before anything is created.
        if (inflated->get() == nullptr || decompressor == nullptr)
            return EntryCopy::writeFailed;

        // Asked for no count of what came out, libdeflate succeeds only when the data
        // inflates to exactly the recorded size.
        if (libdeflate_deflate_decompress (decompressor.get(), data, (size_t) record.compressedSize, inflated->get(), (size_t) size,
                                           nullptr)
            != LIBDEFLATE_SUCCESS)
            return EntryCopy::damaged;

        bytes = inflated->get();
    }

    if (libdeflate_crc32 (0, bytes, (size_t) size) != record.crc32)
        return EntryCopy::damaged;

    if (out == nullptr)
        return EntryCopy::ok;

    // Large entries go to the file in one write, past the stream's own buffer.
    if (! writeAll (*out, bytes, size))
        return EntryCopy::writeFailed;

    out->flush();
    return EntryCopy::ok;
}

juce::uint64 memoryToUnpack (const std::vector<ZipRecord>& records, size_t archiveSize)
{
    const auto* largest = largestDeflatedEntry (records);
    return archiveSize + (largest != nullptr ? largest->uncompressedSize : 0) + marginBytes;
}

juce::uint64 machineMemoryBytes()
{
    return (juce::uint64) juce::jmax (0, juce::SystemStats::getMemorySizeInMegabytes()) * 1024 * 1024;
}

ArchiveCheck checkMemoryToUnpack (const std::vector<ZipRecord>& records, size_t archiveSize, juce::uint64 machineBytes)
{
    const auto* largest = largestDeflatedEntry (records);

    if (largest == nullptr)
        return {};

    const auto need = memoryToUnpack (records, archiveSize);

    // An unknown size (0) refuses nothing.
    if (machineBytes > 0 && need > machineBytes)
        return { ArchiveVerdict::tooLarge, largest->name,
                 "unpacking it takes " + inWords (need) + " of memory, and this computer has " + inWords (machineBytes) };

    // Asked for and given back at once: where memory is short, the refusal comes now, before
    // anything is written, and not in the middle of the bundle.
    if (kv::platform::LargeBlock (largest->uncompressedSize).get() == nullptr)
        return { ArchiveVerdict::tooLarge, largest->name, "this computer cannot spare the " + inWords (largest->uncompressedSize) + " it takes to unpack" };

    return {};
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
