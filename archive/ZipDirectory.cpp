#include "archive/ZipDirectory.h"

#include "archive/ZipFields.h"
#include "text/TextEncoding.h"

namespace kv::archive
{
    namespace
    {
        using namespace zip;

        const char* const zip64Reason = "it is written with ZIP64 records, which the installer cannot read";

        juce::String byteCount (size_t n) { return juce::String ((juce::int64) n) + (n == 1 ? " byte" : " bytes"); }

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

            bool refuse (const juce::String& reason, const juce::String& entry = {})
            {
                if (fault != nullptr)
                    *fault = { entry, reason };

                return false;
            }

            bool isEndRecordAt (size_t pos) const { return read32 (bytes + pos) == endOfDirectorySignature; }
            size_t commentLengthAt (size_t pos) const { return read16 (bytes + pos + 20); }

            bool findEndRecord()
            {
                if (bytes == nullptr || size < endRecordSize)
                    return refuse ("it is not a ZIP archive, or it is cut short");

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
                        return refuse ("it has " + byteCount (size - pos - endRecordSize - commentLengthAt (pos)) + " after its end record (data appended to the archive?)");

                    if (pos == 0)
                        return refuse ("it is not a ZIP archive, or it is cut short (no end of central directory record)");
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
                    return refuse ("it is one part of an archive split over several files (its end record names disk " + juce::String (juce::jmax (end.disk, end.directoryDisk)) + ")");

                if (end.position >= zip64LocatorSize && read32 (bytes + end.position - zip64LocatorSize) == zip64LocatorSignature)
                    return refuse (zip64Reason);

                if (end.entries == 0xffff || end.directorySize == 0xffffffff || end.directoryOffset == 0xffffffff)
                    return refuse (zip64Reason);

                if (end.entriesOnThisDisk != end.entries)
                    return refuse ("its end record gives two entry counts, " + juce::String (end.entriesOnThisDisk) + " and " + juce::String (end.entries));

                if (end.directorySize > end.position)
                    return refuse ("its central directory lies outside the archive");

                // The directory ends where the end record begins; where it does not, something
                // was put before the archive or between the two.
                const auto directoryStart = end.position - end.directorySize;

                if (end.directoryOffset == directoryStart)
                    return true;

                // A stub put before the archive without moving its offsets (cat stub.exe a.zip).
                if (end.directoryOffset < directoryStart && (end.entries == 0 || read32 (bytes + directoryStart) == directoryEntrySignature))
                    return refuse ("it has " + byteCount (directoryStart - end.directoryOffset) + " before its first entry (a self-extracting stub?)");

                if (end.directoryOffset > directoryStart)
                    return refuse ("its central directory lies outside the archive");

                return refuse ("it has " + byteCount (directoryStart - end.directoryOffset) + " between its central directory and its end record");
            }

            bool readRecords (std::vector<ZipRecord>& records)
            {
                size_t pos = end.directoryOffset;

                for (size_t i = 0; i < end.entries; ++i)
                {
                    if (pos == end.position)
                        return refuse ("its end record counts " + juce::String (end.entries) + " entries, but its central directory holds " + juce::String (i));

                    if (! readRecord (pos, i, records))
                        return false;
                }

                if (pos != end.position)
                    return refuse ("its central directory is " + byteCount (end.position - pos) + " longer than the " + juce::String (end.entries) + " entries its end record counts");

                return true;
            }

            bool readRecord (size_t& pos, size_t index, std::vector<ZipRecord>& records)
            {
                const auto broken = "its central directory is broken at entry " + juce::String ((juce::int64) index + 1);
                const auto* h = bytes + pos;

                if (end.position - pos < entryHeaderSize || read32 (h) != directoryEntrySignature)
                    return refuse (broken);

                const size_t nameLength = read16 (h + 28);
                const size_t entryLength = entryHeaderSize + nameLength + read16 (h + 30) + read16 (h + 32);

                if (end.position - pos < entryLength)
                    return refuse (broken);

                // A name that is not well-formed UTF-8 would reach JUCE's path functions as it is.
                if (! kv::text::isWellFormedUtf8 (h + entryHeaderSize, nameLength))
                    return refuse ("entry " + juce::String ((juce::int64) index + 1) + " has a name that is not well-formed UTF-8");

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
                    return refuse (zip64Reason, record.name);

                if (read16 (h + 34) != 0)
                    return refuse ("it lies on disk " + juce::String (read16 (h + 34)) + " of an archive split over several files", record.name);

                if (const auto why = localHeaderDisagreement (bytes, end.directoryOffset, h, record); why.isNotEmpty())
                    return refuse (why, record.name);

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
                    return refuse ("it has " + byteCount (first) + " before its first entry (a self-extracting stub?)");

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
