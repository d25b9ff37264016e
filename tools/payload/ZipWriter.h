#pragma once

#include "tools/payload/ByteWriter.h"

#include <deque>
#include <optional>
#include <string>

namespace kv::payload
{
    enum class ZipMethod : uint16_t
    {
        stored = 0,
        deflated = 8
    };

    /** Deliberate defects, for archives that drive an extractor down its error paths. */
    struct ZipEntryFaults
    {
        std::optional<uint32_t> recordedCrc; // written instead of the true CRC-32
        std::optional<uint32_t> recordedUncompressedSize; // written instead of the true size
        std::optional<size_t> truncateDataAt; // keep only this many bytes of the stored/compressed data
    };

    struct ZipEntry
    {
        std::string name; // written byte for byte; our archives separate folders with '\'
        Bytes data; // uncompressed contents; a symbolic link's is its target path
        ZipMethod method = ZipMethod::deflated;
        int level = 6;
        bool isDirectory = false;
        bool isUnixSymlink = false; // made on Unix with mode 0120777, which extractors must not follow
        ZipEntryFaults faults;
    };

    /** Builds a ZIP archive in memory: local headers, central directory and end record, no data
    descriptors, no ZIP64. Entries are written in the order they were added.

    The add functions return the stored entry so a test can adjust it on the spot; the reference
    stays valid while the writer lives.
*/
    class ZipWriter final
    {
    public:
        ZipEntry& addDirectory (std::string name);
        ZipEntry& addFile (std::string name, Bytes data, ZipMethod method = ZipMethod::deflated);
        ZipEntry& addTextFile (std::string name, const std::string& text, ZipMethod method = ZipMethod::deflated);
        ZipEntry& addSymlink (std::string name, const std::string& target);
        ZipEntry& add (ZipEntry entry);

        void setComment (std::string newComment) { comment = std::move (newComment); }
        void truncateArchiveAt (size_t byteCount) { truncateAt = byteCount; }

        size_t getNumEntries() const noexcept { return entries.size(); }

        Bytes toBytes() const;
        void writeToFile (const std::string& utf8Path) const;

    private:
        std::deque<ZipEntry> entries;
        std::string comment;
        std::optional<size_t> truncateAt;
    };

} // namespace kv::payload
