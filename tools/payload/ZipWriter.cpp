#include "tools/payload/ZipWriter.h"

#include "tools/payload/Compression.h"
#include "tools/payload/FileOutput.h"

#include <algorithm>
#include <stdexcept>

namespace kv::payload
{
    namespace
    {
        constexpr uint32_t localHeaderSignature = 0x04034b50;
        constexpr uint32_t centralHeaderSignature = 0x02014b50;
        constexpr uint32_t endRecordSignature = 0x06054b50;

        constexpr uint16_t hostMsDos = 0;
        constexpr uint16_t hostUnix = 3;
        constexpr uint16_t zipVersion20 = 20;
        constexpr uint16_t zipVersion10 = 10;

        constexpr uint32_t fatDirectoryAttribute = 0x10;
        constexpr uint32_t fatArchiveAttribute = 0x20;
        constexpr uint32_t unixSymlinkMode = 0120777;

        // A fixed timestamp (2024-06-01 12:00:00) keeps the archives reproducible.
        constexpr uint16_t dosTime = (12 << 11);
        constexpr uint16_t dosDate = ((2024 - 1980) << 9) | (6 << 5) | 1;

        struct EncodedEntry
        {
            const ZipEntry* entry = nullptr;
            Bytes payload;
            uint32_t crc = 0;
            uint32_t compressedSize = 0;
            uint32_t uncompressedSize = 0;
            uint32_t localHeaderOffset = 0;
        };

        uint32_t checkedSize (size_t size)
        {
            if (size > 0xffffffffu)
                throw std::runtime_error ("entry too large for a ZIP without ZIP64");

            return static_cast<uint32_t> (size);
        }

        EncodedEntry encode (const ZipEntry& entry)
        {
            EncodedEntry encoded;
            encoded.entry = &entry;
            encoded.crc = entry.faults.recordedCrc.value_or (crc32Of (entry.data.data(), entry.data.size()));
            encoded.uncompressedSize = entry.faults.recordedUncompressedSize.value_or (checkedSize (entry.data.size()));

            if (entry.method == ZipMethod::deflated)
                encoded.payload = deflateRaw (entry.data.data(), entry.data.size(), entry.level);
            else
                encoded.payload = entry.data;

            if (auto keep = entry.faults.truncateDataAt; keep && *keep < encoded.payload.size())
                encoded.payload.resize (*keep);

            encoded.compressedSize = checkedSize (encoded.payload.size());
            return encoded;
        }

        uint16_t versionNeeded (const ZipEntry& entry)
        {
            return entry.method == ZipMethod::deflated || entry.isDirectory ? zipVersion20 : zipVersion10;
        }

        uint16_t versionMadeBy (const ZipEntry& entry)
        {
            return static_cast<uint16_t> (((entry.isUnixSymlink ? hostUnix : hostMsDos) << 8) | zipVersion20);
        }

        uint32_t externalAttributes (const ZipEntry& entry)
        {
            if (entry.isUnixSymlink)
                return unixSymlinkMode << 16;

            return entry.isDirectory ? fatDirectoryAttribute : fatArchiveAttribute;
        }

        // The fields local and central headers share, from "version needed" to the name length.
        void writeCommonFields (ByteWriter& out, const EncodedEntry& e)
        {
            out.u16 (versionNeeded (*e.entry));
            out.u16 (0); // flags: no encryption, no data descriptor
            out.u16 (static_cast<uint16_t> (e.entry->method));
            out.u16 (dosTime);
            out.u16 (dosDate);
            out.u32 (e.crc);
            out.u32 (e.compressedSize);
            out.u32 (e.uncompressedSize);
            out.u16 (static_cast<uint16_t> (e.entry->name.size()));
            out.u16 (0); // extra field length
        }
    }

    ZipEntry& ZipWriter::add (ZipEntry entry)
    {
        if (entry.name.size() > 0xffff)
            throw std::invalid_argument ("ZIP entry name too long");

        entries.push_back (std::move (entry));
        return entries.back();
    }

    ZipEntry& ZipWriter::addDirectory (std::string name)
    {
        ZipEntry entry;
        entry.name = std::move (name);
        entry.method = ZipMethod::stored;
        entry.isDirectory = true;
        return add (std::move (entry));
    }

    ZipEntry& ZipWriter::addFile (std::string name, Bytes data, ZipMethod method)
    {
        ZipEntry entry;
        entry.name = std::move (name);
        entry.data = std::move (data);
        entry.method = method;
        return add (std::move (entry));
    }

    ZipEntry& ZipWriter::addTextFile (std::string name, const std::string& text, ZipMethod method)
    {
        return addFile (std::move (name), Bytes (text.begin(), text.end()), method);
    }

    ZipEntry& ZipWriter::addSymlink (std::string name, const std::string& target)
    {
        auto& entry = addTextFile (std::move (name), target, ZipMethod::stored);
        entry.isUnixSymlink = true;
        return entry;
    }

    Bytes ZipWriter::toBytes() const
    {
        if (entries.size() > 0xffff || comment.size() > 0xffff)
            throw std::runtime_error ("too many entries or too long a comment for a ZIP without ZIP64");

        Bytes archive;
        ByteWriter out (archive);
        std::vector<EncodedEntry> encoded;
        encoded.reserve (entries.size());

        for (auto& entry : entries)
        {
            auto e = encode (entry);
            e.localHeaderOffset = checkedSize (archive.size());

            out.u32 (localHeaderSignature);
            writeCommonFields (out, e);
            out.text (entry.name);
            out.bytes (e.payload);

            e.payload = {}; // only the central directory is left to write, and it needs no data
            encoded.push_back (std::move (e));
        }

        const auto centralOffset = checkedSize (archive.size());

        for (auto& e : encoded)
        {
            out.u32 (centralHeaderSignature);
            out.u16 (versionMadeBy (*e.entry));
            writeCommonFields (out, e);
            out.u16 (0); // file comment length
            out.u16 (0); // disk number start
            out.u16 (0); // internal attributes
            out.u32 (externalAttributes (*e.entry));
            out.u32 (e.localHeaderOffset);
            out.text (e.entry->name);
        }

        const auto centralSize = checkedSize (archive.size()) - centralOffset;

        out.u32 (endRecordSignature);
        out.u16 (0); // this disk
        out.u16 (0); // disk holding the central directory
        out.u16 (static_cast<uint16_t> (entries.size()));
        out.u16 (static_cast<uint16_t> (entries.size()));
        out.u32 (centralSize);
        out.u32 (centralOffset);
        out.u16 (static_cast<uint16_t> (comment.size()));
        out.text (comment);

        if (truncateAt && *truncateAt < archive.size())
            archive.resize (*truncateAt);

        return archive;
    }

    void ZipWriter::writeToFile (const std::string& utf8Path) const
    {
        writeFileAtomically (utf8Path, toBytes());
    }

} // namespace kv::payload
