#pragma once

// A deliberately small ZIP reader, written apart from the writer, so tests check the archives
// against the format rather than against the code that made them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <zlib.h>

namespace kv::test
{
    using Bytes = std::vector<uint8_t>;

    inline uint32_t le16 (const Bytes& b, size_t at) { return uint32_t (b.at (at)) | (uint32_t (b.at (at + 1)) << 8); }
    inline uint32_t le32 (const Bytes& b, size_t at) { return le16 (b, at) | (le16 (b, at + 2) << 16); }

    struct ZipListedEntry
    {
        std::string name;
        uint32_t versionMadeBy = 0, versionNeeded = 0, flags = 0, method = 0;
        uint32_t crc = 0, compressedSize = 0, uncompressedSize = 0;
        uint32_t extraLength = 0, commentLength = 0, externalAttributes = 0, localHeaderOffset = 0;
    };

    struct ZipListing
    {
        std::vector<ZipListedEntry> entries;
        std::string comment;
    };

    /** The central directory, found through an end record that must sit exactly at the end. */
    inline std::optional<ZipListing> listZip (const Bytes& zip)
    {
        if (zip.size() < 22)
            return std::nullopt;

        for (size_t end = zip.size() - 22;; --end)
        {
            if (le32 (zip, end) == 0x06054b50 && end + 22 + le16 (zip, end + 20) == zip.size())
            {
                ZipListing listing;
                listing.comment.assign (zip.begin() + long (end + 22), zip.end());
                const auto count = le16 (zip, end + 10);
                size_t at = le32 (zip, end + 16);

                for (uint32_t i = 0; i < count; ++i)
                {
                    if (at + 46 > end || le32 (zip, at) != 0x02014b50)
                        return std::nullopt;

                    ZipListedEntry e;
                    e.versionMadeBy = le16 (zip, at + 4);
                    e.versionNeeded = le16 (zip, at + 6);
                    e.flags = le16 (zip, at + 8);
                    e.method = le16 (zip, at + 10);
                    e.crc = le32 (zip, at + 16);
                    e.compressedSize = le32 (zip, at + 20);
                    e.uncompressedSize = le32 (zip, at + 24);
                    const auto nameLength = le16 (zip, at + 28);
                    e.extraLength = le16 (zip, at + 30);
                    e.commentLength = le16 (zip, at + 32);
                    e.externalAttributes = le32 (zip, at + 38);
                    e.localHeaderOffset = le32 (zip, at + 42);
                    e.name.assign (zip.begin() + long (at + 46), zip.begin() + long (at + 46 + nameLength));
                    listing.entries.push_back (e);
                    at += 46 + nameLength + e.extraLength + e.commentLength;
                }

                if (at != end)
                    return std::nullopt;

                return listing;
            }

            if (end == 0)
                return std::nullopt;
        }
    }

    /** The entry's data via its local header, which must agree with the central one; inflated
    when deflated. nullopt when headers disagree or the data does not decode to its size. */
    inline std::optional<Bytes> extractZipEntry (const Bytes& zip, const ZipListedEntry& e)
    {
        const size_t at = e.localHeaderOffset;

        if (at + 30 > zip.size() || le32 (zip, at) != 0x04034b50
            || le16 (zip, at + 8) != e.method || le32 (zip, at + 14) != e.crc
            || le32 (zip, at + 18) != e.compressedSize || le32 (zip, at + 22) != e.uncompressedSize
            || le16 (zip, at + 26) != e.name.size())
            return std::nullopt;

        const size_t dataStart = at + 30 + le16 (zip, at + 26) + le16 (zip, at + 28);

        if (dataStart + e.compressedSize > zip.size())
            return std::nullopt;

        Bytes packed (zip.begin() + long (dataStart), zip.begin() + long (dataStart + e.compressedSize));

        if (e.method == 0)
            return packed;

        Bytes out (e.uncompressedSize + 1);
        z_stream stream {};
        inflateInit2 (&stream, -MAX_WBITS);
        stream.next_in = packed.data();
        stream.avail_in = static_cast<uInt> (packed.size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt> (out.size());
        const auto status = inflate (&stream, Z_FINISH);
        const auto produced = out.size() - stream.avail_out;
        inflateEnd (&stream);

        if (status != Z_STREAM_END || produced != e.uncompressedSize)
            return std::nullopt;

        out.resize (produced);
        return out;
    }

    inline uint32_t crcOf (const Bytes& data)
    {
        return static_cast<uint32_t> (crc32 (0, data.data(), static_cast<uInt> (data.size())));
    }

} // namespace kv::test
