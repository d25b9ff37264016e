#include "archive/ZipDirectory.h"

#include "archive/ZipFields.h"
#include "text/TextEncoding.h"

namespace kv::archive
{
    namespace
    {
        using namespace zip;

        struct EndRecord
        {
            size_t position = 0;
            juce::uint16 disk = 0, directoryDisk = 0;
            size_t entriesOnThisDisk = 0, entries = 0;
            size_t directorySize = 0, directoryOffset = 0;
        };

        // One reading of the archive, from its end record back to its entries' local headers.
        class DirectoryReader
        {
        public:
            DirectoryReader (const juce::uint8* archive, size_t archiveSize, ZipFault* faultToFill)
                : bytes (archive)
                , size (archiveSize)
                , fault (faultToFill)
            {
            }

            bool read (std::vector<ZipRecord>& records)
            {
                return findEndRecord() && checkEndRecord() && readRecords (records) && checkStartOfData (records);
            }

        private:
            const juce::uint8* bytes;
            size_t size;
            ZipFault* fault;
            EndRecord end;

            bool refuse (ArchiveDefect defect, size_t first = 0, size_t second = 0, const juce::String& entry = {})
            {
                if (fault != nullptr)
                    *fault = { entry, ArchiveFinding::of (defect, (juce::int64) first, (juce::int64) second) };

                return false;
            }

            bool isEndRecordAt (size_t pos) const { return read32 (bytes + pos) == endOfDirectorySignature; }
            size_t commentLengthAt (size_t pos) const { return read16 (bytes + pos + 20); }

            bool findEndRecord()
            {
                if (bytes == nullptr || size < endRecordSize)
                    return refuse (ArchiveDefect::tooShort);

                // The end record sits at the very end unless an archive comment follows it.
                const size_t lowest = size > endRecordSize + maximumCommentSize ? size - endRecordSize - maximumCommentSize : 0;

                for (size_t pos = size - endRecordSize;; --pos)
                {
                    if (isEndRecordAt (pos) && pos + endRecordSize + commentLengthAt (pos) == size)
                    {
                        readEndRecord (pos);
                        return true;
                    }

                    if (pos == lowest)
                        break;
                }

                // Bytes appended to a whole archive: say so, rather than call it no archive at all.
                for (size_t pos = size - endRecordSize;; --pos)
                {
                    if (isEndRecordAt (pos) && pos + endRecordSize + commentLengthAt (pos) < size && looksLikeWholeArchiveEndingAt (pos))
                        return refuse (ArchiveDefect::bytesAfterEnd, size - pos - endRecordSize - commentLengthAt (pos));

                    if (pos == 0)
                        return refuse (ArchiveDefect::noEndRecord);
                }
            }

            // An end record whose central directory, as it records it, ends right where it begins.
            bool looksLikeWholeArchiveEndingAt (size_t pos) const
            {
                const size_t directorySize = read32 (bytes + pos + 12);
                return directorySize <= pos && (directorySize == 0 || read32 (bytes + pos - directorySize) == directoryEntrySignature);
            }

            void readEndRecord (size_t pos)
            {
                const auto* p = bytes + pos;
                end = { pos, read16 (p + 4), read16 (p + 6), read16 (p + 8), read16 (p + 10), read32 (p + 12), read32 (p + 16) };
            }

            bool checkEndRecord()
            {
                if (end.disk != 0 || end.directoryDisk != 0)
                    return refuse (ArchiveDefect::splitOverDisks, juce::jmax (end.disk, end.directoryDisk));

                if (end.position >= zip64LocatorSize && read32 (bytes + end.position - zip64LocatorSize) == zip64LocatorSignature)
                    return refuse (ArchiveDefect::zip64);

                if (end.entries == 0xffff || end.directorySize == 0xffffffff || end.directoryOffset == 0xffffffff)
                    return refuse (ArchiveDefect::zip64);

                if (end.entriesOnThisDisk != end.entries)
                    return refuse (ArchiveDefect::entryCountsDiffer, end.entriesOnThisDisk, end.entries);

                if (end.directorySize > end.position)
                    return refuse (ArchiveDefect::directoryOutside);

                // The directory ends where the end record begins; where it does not, something
                // was put before the archive or between the two.
                const auto directoryStart = end.position - end.directorySize;

                if (end.directoryOffset == directoryStart)
                    return true;

                // A stub put before the archive without moving its offsets (cat stub.exe a.zip).
                if (end.directoryOffset < directoryStart && (end.entries == 0 || read32 (bytes + directoryStart) == directoryEntrySignature))
                    return refuse (ArchiveDefect::bytesBeforeFirstEntry, directoryStart - end.directoryOffset);

                if (end.directoryOffset > directoryStart)
                    return refuse (ArchiveDefect::directoryOutside);

                return refuse (ArchiveDefect::bytesBeforeEndRecord, directoryStart - end.directoryOffset);
            }

            bool readRecords (std::vector<ZipRecord>& records)
            {
                size_t pos = end.directoryOffset;

                for (size_t i = 0; i < end.entries; ++i)
                {
                    if (pos == end.position)
                        return refuse (ArchiveDefect::fewerRecordsThanCounted, end.entries, i);

                    if (! readRecord (pos, i, records))
                        return false;
                }

                if (pos != end.position)
                    return refuse (ArchiveDefect::directoryLongerThanCounted, end.position - pos, end.entries);

                return true;
            }

            bool readRecord (size_t& pos, size_t index, std::vector<ZipRecord>& records)
            {
                const auto* h = bytes + pos;

                if (end.position - pos < entryHeaderSize || read32 (h) != directoryEntrySignature)
                    return refuse (ArchiveDefect::directoryBroken, index + 1);

                const size_t nameLength = read16 (h + 28);
                const size_t entryLength = entryHeaderSize + nameLength + read16 (h + 30) + read16 (h + 32);

                if (end.position - pos < entryLength)
                    return refuse (ArchiveDefect::directoryBroken, index + 1);

                // A name that is not well-formed UTF-8 would reach JUCE's path functions as it is.
                if (! kv::text::isWellFormedUtf8 (h + entryHeaderSize, nameLength))
                    return refuse (ArchiveDefect::nameNotUtf8, index + 1);

                ZipRecord record;
                record.name = juce::String::fromUTF8 (reinterpret_cast<const char*> (h + entryHeaderSize), (int) nameLength);
                record.flags = read16 (h + 8);
                record.method = read16 (h + 10);
                record.dosTime = read16 (h + 12);
                record.dosDate = read16 (h + 14);
                record.crc32 = read32 (h + 16);
                record.compressedSize = read32 (h + 20);
                record.uncompressedSize = read32 (h + 24);
                record.externalAttributes = read32 (h + 38);
                record.localHeaderOffset = read32 (h + 42);

                if (record.compressedSize == 0xffffffff || record.uncompressedSize == 0xffffffff || record.localHeaderOffset == 0xffffffff)
                    return refuse (ArchiveDefect::zip64, 0, 0, record.name);

                if (read16 (h + 34) != 0)
                    return refuse (ArchiveDefect::entryOnOtherDisk, read16 (h + 34), 0, record.name);

                if (auto why = localHeaderDisagreement (bytes, end.directoryOffset, h, record); why.found())
                {
                    if (fault != nullptr)
                        *fault = { record.name, std::move (why) };

                    return false;
                }

                records.push_back (std::move (record));
                pos += entryLength;
                return true;
            }

            // Offsets moved past a stub (zip -A): the entries start later than the archive does.
            bool checkStartOfData (const std::vector<ZipRecord>& records)
            {
                size_t first = end.directoryOffset;

                for (const auto& record : records)
                    first = juce::jmin (first, record.localHeaderOffset);

                if (first != 0 && ! records.empty())
                    return refuse (ArchiveDefect::bytesBeforeFirstEntry, first);

                return true;
            }
        };
    }

    bool readZipDirectory (const void* data, size_t size, std::vector<ZipRecord>& records, ZipFault* fault)
    {
        records.clear();

        if (DirectoryReader (static_cast<const juce::uint8*> (data), size, fault).read (records))
            return true;

        records.clear();
        return false;
    }
}
