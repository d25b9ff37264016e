#include "archive/ZipLocalHeader.h"

#include "archive/ZipFields.h"

#include <cstring>

namespace kv::archive
{
    namespace
    {
        using namespace zip;

        juce::String hex (juce::uint32 value, int digits) { return "0x" + juce::String::toHexString ((juce::int64) value).paddedLeft ('0', digits); }

        juce::String differs (const char* where, const char* field, const juce::String& local, const juce::String& central)
        {
            return juce::String ("its ") + where + " gives " + field + " " + local + ", its central directory " + central;
        }

        // The CRC-32 and both sizes, as the local header and the data descriptor both hold them.
        // In a local header of an entry with a data descriptor, zero means "in the descriptor".
        juce::String sumsDisagreement (const char* where, const juce::uint8* p, const ZipRecord& record, bool zeroAllowed)
        {
            const auto crc = read32 (p);
            const juce::uint64 compressed = read32 (p + 4), uncompressed = read32 (p + 8);

            if (crc != record.crc32 && ! (zeroAllowed && crc == 0))
                return differs (where, "CRC-32", hex (crc, 8), hex (record.crc32, 8));

            if (compressed != record.compressedSize && ! (zeroAllowed && compressed == 0))
                return differs (where, "compressed size", juce::String (compressed), juce::String (record.compressedSize));

            if (uncompressed != record.uncompressedSize && ! (zeroAllowed && uncompressed == 0))
                return differs (where, "uncompressed size", juce::String (uncompressed), juce::String (record.uncompressedSize));

            return {};
        }

        // The descriptor follows the data, with or without its optional signature.
        juce::String descriptorDisagreement (const juce::uint8* archive, size_t at, size_t dataEnd, const ZipRecord& record)
        {
            constexpr size_t sumsSize = 12;

            if (dataEnd - at < sumsSize)
                return "its data descriptor is missing";

            const auto* p = archive + at;
            const auto unsignedForm = sumsDisagreement ("data descriptor", p, record, false);

            if (unsignedForm.isNotEmpty() && read32 (p) == dataDescriptorSignature && dataEnd - at >= sumsSize + 4)
                return sumsDisagreement ("data descriptor", p + 4, record, false);

            return unsignedForm;
        }
    }

    juce::String localHeaderDisagreement (const juce::uint8* archive, size_t dataEnd, const juce::uint8* centralRecord, const ZipRecord& record)
    {
        const auto at = record.localHeaderOffset;

        if (at >= dataEnd)
            return "its data lies outside the archive";

        if (dataEnd - at < localHeaderSize || read32 (archive + at) != localHeaderSignature)
            return "its local header is missing";

        const auto* local = archive + at;

        if (read16 (local + 6) != record.flags)
            return differs ("local header", "general-purpose flags", hex (read16 (local + 6), 4), hex (record.flags, 4));

        if (read16 (local + 8) != record.method)
            return differs ("local header", "compression method", juce::String (read16 (local + 8)), juce::String (record.method));

        const size_t nameLength = read16 (local + 26);
        const auto dataStart = at + localHeaderSize + nameLength + read16 (local + 28);

        if (dataStart > dataEnd || dataEnd - dataStart < record.compressedSize)
            return "its data lies outside the archive";

        if (nameLength != read16 (centralRecord + 28) || std::memcmp (local + localHeaderSize, centralRecord + entryHeaderSize, nameLength) != 0)
            return "its name in its local header differs from its name in the central directory";

        if ((record.flags & dataDescriptorFlag) == 0)
            return sumsDisagreement ("local header", local + 14, record, false);

        if (const auto why = sumsDisagreement ("local header", local + 14, record, true); why.isNotEmpty())
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
