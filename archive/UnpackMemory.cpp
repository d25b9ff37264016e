#include "archive/UnpackMemory.h"

#include "archive/LargeBlock.h"

namespace kv::archive
{
    namespace
    {
        // Room for the rest of a pass: file buffers, the ZIP reader's tables, the decompressor.
        constexpr juce::uint64 marginBytes = 16 * 1024 * 1024;

        const ZipRecord* largestDeflatedEntry (const std::vector<ZipRecord>& records)
        {
            const ZipRecord* largest = nullptr;

            for (const auto& record : records)
                if (record.method != 0 && (largest == nullptr || record.uncompressedSize > largest->uncompressedSize))
                    largest = &record;

            return largest;
        }
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
                     ArchiveFinding::of (ArchiveDefect::tooLittleMemory, (juce::int64) need, (juce::int64) machineBytes) };

        // Asked for and given back at once: where memory is short, the refusal comes now, before
        // anything is written, and not in the middle of the bundle.
        if (LargeBlock (largest->uncompressedSize).get() == nullptr)
            return { ArchiveVerdict::tooLarge, largest->name,
                     ArchiveFinding::of (ArchiveDefect::cannotSpareMemory, (juce::int64) largest->uncompressedSize) };

        return {};
    }
}
