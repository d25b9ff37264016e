#include "archive/ZipLocalHeader.h"

#include "archive/ZipFields.h"

#include <cstring>

namespace kv::archive
{
    namespace
    {
        using namespace zip;

        // The defects of the three sums, as a local header and as a data descriptor hold them.
        struct SumDefects
        {
            ArchiveDefect crc, compressedSize, size;
        };

        constexpr SumDefects inLocalHeader { ArchiveDefect::localCrcDiffers, ArchiveDefect::localCompressedSizeDiffers,
                                             ArchiveDefect::localSizeDiffers };
        constexpr SumDefects inDescriptor { ArchiveDefect::descriptorCrcDiffers, ArchiveDefect::descriptorCompressedSizeDiffers,
                                            ArchiveDefect::descriptorSizeDiffers };

        ArchiveFinding differs (ArchiveDefect defect, juce::uint64 local, juce::uint64 central)
        {
            return ArchiveFinding::of (defect, (juce::int64) local, (juce::int64) central);
        }

        // The CRC-32 and both sizes, as the local header and the data descriptor both hold them.
        // In a local header of an entry with a data descriptor, zero means "in the descriptor".
        ArchiveFinding sumsDisagreement (const SumDefects& where, const juce::uint8* p, const ZipRecord& record, bool zeroAllowed)
        {
            const auto crc = read32 (p);
            const juce::uint64 compressed = read32 (p + 4), uncompressed = read32 (p + 8);

            if (crc != record.crc32 && ! (zeroAllowed && crc == 0))
                return differs (where.crc, crc, record.crc32);

            if (compressed != record.compressedSize && ! (zeroAllowed && compressed == 0))
                return differs (where.compressedSize, compressed, record.compressedSize);

            if (uncompressed != record.uncompressedSize && ! (zeroAllowed && uncompressed == 0))
                return differs (where.size, uncompressed, record.uncompressedSize);

            return {};
        }

        // The descriptor follows the data, with or without its optional signature.
        ArchiveFinding descriptorDisagreement (const juce::uint8* archive, size_t at, size_t dataEnd, const ZipRecord& record)
        {
            constexpr size_t sumsSize = 12;

            if (dataEnd - at < sumsSize)
                return ArchiveFinding::of (ArchiveDefect::descriptorMissing);

            const auto* p = archive + at;
            const auto unsignedForm = sumsDisagreement (inDescriptor, p, record, false);

            if (unsignedForm.found() && read32 (p) == dataDescriptorSignature && dataEnd - at >= sumsSize + 4)
                return sumsDisagreement (inDescriptor, p + 4, record, false);

            return unsignedForm;
        }
    }

    ArchiveFinding localHeaderDisagreement (const juce::uint8* archive, size_t dataEnd, const juce::uint8* centralRecord, const ZipRecord& record)
    {
        const auto at = record.localHeaderOffset;

        if (at >= dataEnd)
            return ArchiveFinding::of (ArchiveDefect::dataOutside);

        if (dataEnd - at < localHeaderSize || read32 (archive + at) != localHeaderSignature)
            return ArchiveFinding::of (ArchiveDefect::localHeaderMissing);

        const auto* local = archive + at;

        if (read16 (local + 6) != record.flags)
            return differs (ArchiveDefect::localFlagsDiffer, read16 (local + 6), record.flags);

        if (read16 (local + 8) != record.method)
            return differs (ArchiveDefect::localMethodDiffers, read16 (local + 8), record.method);

        const size_t nameLength = read16 (local + 26);
        const auto dataStart = at + localHeaderSize + nameLength + read16 (local + 28);

        if (dataStart > dataEnd || dataEnd - dataStart < record.compressedSize)
            return ArchiveFinding::of (ArchiveDefect::dataOutside);

        if (nameLength != read16 (centralRecord + 28) || std::memcmp (local + localHeaderSize, centralRecord + entryHeaderSize, nameLength) != 0)
            return ArchiveFinding::of (ArchiveDefect::localNameDiffers);

        if ((record.flags & dataDescriptorFlag) == 0)
            return sumsDisagreement (inLocalHeader, local + 14, record, false);

        if (const auto why = sumsDisagreement (inLocalHeader, local + 14, record, true); why.found())
            return why;

        return descriptorDisagreement (archive, dataStart + (size_t) record.compressedSize, dataEnd, record);
    }

    const juce::uint8* zipEntryData (const void* data, size_t size, const ZipRecord& record)
    {
        const auto* bytes = static_cast<const juce::uint8*> (data);
        const auto at = record.localHeaderOffset;

        if (bytes == nullptr || at > size || size - at < localHeaderSize || read32 (bytes + at) != localHeaderSignature)
            return nullptr;

        const auto start = at + localHeaderSize + read16 (bytes + at + 26) + read16 (bytes + at + 28);

        if (start > size || size - start < record.compressedSize)
            return nullptr;

        return bytes + start;
    }
}
