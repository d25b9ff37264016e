#include "archive/ZipDirectory.h"

#include "text/TextEncoding.h"

namespace kv::archive
{
    namespace
    {
        juce::uint16 read16 (const juce::uint8* p) { return (juce::uint16) (p[0] | (p[1] << 8)); }
        juce::uint32 read32 (const juce::uint8* p) { return (juce::uint32) read16 (p) | ((juce::uint32) read16 (p + 2) << 16); }

        constexpr juce::uint32 endOfDirectorySignature = 0x06054b50;
        constexpr juce::uint32 zip64LocatorSignature = 0x07064b50;
        constexpr size_t zip64LocatorSize = 20;
        constexpr juce::uint32 directoryEntrySignature = 0x02014b50;
        constexpr size_t endRecordSize = 22;
        constexpr size_t entryHeaderSize = 46;
        constexpr juce::uint32 localHeaderSignature = 0x04034b50;
        constexpr size_t localHeaderSize = 30;
        constexpr size_t maximumCommentSize = 0xffff;
    }

    bool ZipRecord::isSymbolicLink() const
    {
        // Unix file type bits in the high half of the external attributes; JUCE reads them
        // whatever system made the entry, so do the same.
        return ((externalAttributes >> 28) & 0xf) == 0xa;
    }

    juce::Time ZipRecord::modificationTime() const
    {
        return { 1980 + (dosDate >> 9), ((dosDate >> 5) & 15) - 1, dosDate & 31, dosTime >> 11, (dosTime >> 5) & 63, (dosTime & 31) * 2 };
    }

    bool ZipRecord::sizesAreConsistent() const
    {
        // Deflate's densest code: a 258-byte match at distance 1 in two bits.
        constexpr juce::uint64 deflateMostExpansion = 1032;

        if (method == 0)
            return compressedSize == uncompressedSize;

        return uncompressedSize <= compressedSize * deflateMostExpansion;
    }

    bool readZipDirectory (const void* data, size_t size, std::vector<ZipRecord>& records, juce::String* whyNot)
    {
        records.clear();
        const auto* bytes = static_cast<const juce::uint8*> (data);

        auto refuse = [whyNot] (const juce::String& reason)
        {
            if (whyNot != nullptr)
                *whyNot = reason;

            return false;
        };

        static const juce::String zip64 = "it is written with ZIP64 records, which the installer cannot read";

        if (bytes == nullptr || size < endRecordSize)
            return refuse ("it is not a ZIP archive, or it is cut short");

        // The end record sits at the very end unless an archive comment follows it.
        const size_t lowest = size > endRecordSize + maximumCommentSize ? size - endRecordSize - maximumCommentSize : 0;
        size_t endPos = size - endRecordSize;

        for (;;)
        {
            if (read32 (bytes + endPos) == endOfDirectorySignature
                && endPos + endRecordSize + read16 (bytes + endPos + 20) == size)
                break;

            if (endPos == lowest)
                return refuse ("it is not a ZIP archive, or it is cut short (no end of central directory record)");

            --endPos;
        }

        if (endPos >= zip64LocatorSize && read32 (bytes + endPos - zip64LocatorSize) == zip64LocatorSignature)
            return refuse (zip64);

        const auto* end = bytes + endPos;
        const size_t count = read16 (end + 10);
        const size_t directorySize = read32 (end + 12);
        const size_t directoryOffset = read32 (end + 16);

        if (count == 0xffff || directorySize == 0xffffffff || directoryOffset == 0xffffffff)
            return refuse (zip64);

        if (directoryOffset > endPos || directorySize > endPos - directoryOffset)
            return refuse ("its central directory lies outside the archive");

        size_t pos = directoryOffset;
        const size_t limit = directoryOffset + directorySize;

        for (size_t i = 0; i < count; ++i)
        {
            if (limit - pos < entryHeaderSize || read32 (bytes + pos) != directoryEntrySignature)
                return refuse ("its central directory is broken at entry " + juce::String ((int) i + 1));

            const auto* h = bytes + pos;
            const size_t nameLength = read16 (h + 28);
            const size_t extraLength = read16 (h + 30);
            const size_t commentLength = read16 (h + 32);
            const size_t entryLength = entryHeaderSize + nameLength + extraLength + commentLength;

            if (limit - pos < entryLength)
                return refuse ("its central directory is broken at entry " + juce::String ((int) i + 1));

            ZipRecord record;
            record.method = read16 (h + 10);
            record.dosTime = read16 (h + 12);
            record.dosDate = read16 (h + 14);
            record.crc32 = read32 (h + 16);
            record.compressedSize = read32 (h + 20);
            record.uncompressedSize = read32 (h + 24);
            record.externalAttributes = read32 (h + 38);

            // A name that is not well-formed UTF-8 would reach JUCE's path functions as it is.
            if (! kv::text::isWellFormedUtf8 (h + entryHeaderSize, nameLength))
                return refuse ("entry " + juce::String ((int) i + 1) + " has a name that is not well-formed UTF-8");

            record.name = juce::String::fromUTF8 (reinterpret_cast<const char*> (h + entryHeaderSize), (int) nameLength);

            const size_t localOffset = read32 (h + 42);
            if (record.compressedSize == 0xffffffff || record.uncompressedSize == 0xffffffff || localOffset == 0xffffffff)
                return refuse (zip64);

            if (localOffset >= directoryOffset || record.compressedSize > directoryOffset - localOffset)
                return refuse ("the data of \"" + record.name + "\" lies outside the archive");

            record.localHeaderOffset = localOffset;

            records.push_back (std::move (record));
            pos += entryLength;
        }

        return true;
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
