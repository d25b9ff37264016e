#include "pe/PeVersionReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace kv::pe
{
    //==============================================================================
    bool MemoryByteSource::read (uint64_t offset, void* destination, size_t size)
    {
        if (offset > length || size > length - offset)
            return false;

        if (size > 0)
            std::memcpy (destination, data + offset, size);

        return true;
    }

    //==============================================================================
    struct FileByteSource::Impl
    {
        std::ifstream stream;
        uint64_t length = 0;
    };

    FileByteSource::FileByteSource (const std::string& utf8Path)
    {
        namespace fs = std::filesystem;

        try
        {
            const auto path = fs::u8path (utf8Path);
            std::error_code error;

            if (! fs::is_regular_file (path, error))
                return;

            const auto length = fs::file_size (path, error);

            if (error)
                return;

            auto opened = std::make_unique<Impl>();
            opened->stream.rdbuf()->pubsetbuf (nullptr, 0); // must precede open() to take effect
            opened->stream.open (path, std::ios::binary);

            if (! opened->stream.is_open())
                return;

            opened->length = length;
            impl = std::move (opened);
        }
        catch (...)
        {
            impl.reset();
        }
    }

    FileByteSource::~FileByteSource() = default;

    uint64_t FileByteSource::size() const
    {
        return impl != nullptr ? impl->length : 0;
    }

    bool FileByteSource::read (uint64_t offset, void* destination, size_t size)
    {
        if (impl == nullptr || offset > impl->length || size > impl->length - offset)
            return false;

        auto& stream = impl->stream;
        stream.clear();
        stream.seekg (static_cast<std::streamoff> (offset));
        stream.read (static_cast<char*> (destination), static_cast<std::streamsize> (size));
        return static_cast<size_t> (stream.gcount()) == size;
    }

    //==============================================================================
    namespace
    {
        constexpr uint16_t optionalMagicPe32 = 0x10B;
        constexpr uint16_t optionalMagicPe32Plus = 0x20B;
        constexpr uint32_t resourceDirectoryIndex = 2;
        constexpr uint32_t rtVersion = 16;
        constexpr uint32_t subdirectoryFlag = 0x80000000u;
        constexpr uint32_t fixedInfoSignature = 0xFEEF04BDu;

        constexpr size_t dosHeaderSize = 64;
        constexpr size_t fileHeaderSize = 20;
        constexpr size_t sectionHeaderSize = 40;
        constexpr size_t maxSections = 96;
        constexpr size_t maxOptionalHeaderRead = 240;
        constexpr size_t resourceDirectorySize = 16;
        constexpr size_t resourceEntrySize = 8;
        constexpr size_t maxTypeEntriesExamined = 64;

        // wLength, wValueLength, wType, L"VS_VERSION_INFO\0", padding to 40, then VS_FIXEDFILEINFO.
        constexpr size_t fixedInfoOffset = 40;
        constexpr size_t fixedInfoSize = 52;
        constexpr size_t versionHeadSize = fixedInfoOffset + fixedInfoSize;

        uint16_t u16At (const uint8_t* p) noexcept { return static_cast<uint16_t> (p[0] | (p[1] << 8)); }
        uint32_t u32At (const uint8_t* p) noexcept { return u16At (p) | (static_cast<uint32_t> (u16At (p + 2)) << 16); }

        struct SectionSpan
        {
            uint64_t rva = 0;
            uint64_t virtualSpan = 0;
            uint64_t rawOffset = 0;
            uint64_t rawSize = 0;
        };

        class PeImage final
        {
        public:
            explicit PeImage (ByteSource& s)
                : source (s)
                , fileSize (s.size())
            {
            }

            std::string fileVersion()
            {
                uint32_t resourceRva = 0;

                if (! readHeaders (resourceRva))
                    return {};

                uint32_t dataRva = 0, dataSize = 0;

                if (! findVersionData (resourceRva, dataRva, dataSize))
                    return {};

                return versionFromBlock (dataRva, dataSize);
            }

        private:
            ByteSource& source;
            const uint64_t fileSize;
            std::vector<SectionSpan> sections;

            bool readAt (uint64_t offset, void* destination, size_t size)
            {
                if (offset > fileSize || size > fileSize - offset)
                    return false;

                return source.read (offset, destination, size);
            }

            bool readHeaders (uint32_t& resourceRva)
            {
                uint8_t dos[dosHeaderSize];

                if (! readAt (0, dos, sizeof (dos)) || dos[0] != 'M' || dos[1] != 'Z')
                    return false;

                const uint64_t peOffset = u32At (dos + 0x3C);
                uint8_t pe[4 + fileHeaderSize];

                if (! readAt (peOffset, pe, sizeof (pe)) || std::memcmp (pe, "PE\0\0", 4) != 0)
                    return false;

                const auto sectionCount = u16At (pe + 4 + 2);
                const auto optionalSize = u16At (pe + 4 + 16);

                if (sectionCount == 0 || sectionCount > maxSections)
                    return false;

                const auto optionalOffset = peOffset + sizeof (pe);
                std::array<uint8_t, maxOptionalHeaderRead> optional {};
                const auto optionalRead = std::min<size_t> (optionalSize, optional.size());

                if (optionalRead < 2 || ! readAt (optionalOffset, optional.data(), optionalRead))
                    return false;

                // The two layouts differ only in field widths ahead of the data directories.
                size_t countField = 0;

                switch (u16At (optional.data()))
                {
                    case optionalMagicPe32: countField = 92; break;
                    case optionalMagicPe32Plus: countField = 108; break;
                    default: return false;
                }

                const auto directoriesField = countField + 4;
                const auto resourceField = directoriesField + resourceDirectoryIndex * 8;

                if (optionalRead < resourceField + 8 || u32At (optional.data() + countField) <= resourceDirectoryIndex)
                    return false;

                resourceRva = u32At (optional.data() + resourceField);
                const auto resourceSize = u32At (optional.data() + resourceField + 4);

                if (resourceRva == 0 || resourceSize == 0)
                    return false;

                std::vector<uint8_t> table (sectionCount * sectionHeaderSize);

                if (! readAt (optionalOffset + optionalSize, table.data(), table.size()))
                    return false;

                for (size_t i = 0; i < sectionCount; ++i)
                {
                    const auto* h = table.data() + i * sectionHeaderSize;
                    SectionSpan s;
                    s.rva = u32At (h + 12);
                    s.rawSize = u32At (h + 16);
                    s.rawOffset = u32At (h + 20);
                    const uint64_t virtualSize = u32At (h + 8);
                    s.virtualSpan = virtualSize != 0 ? virtualSize : s.rawSize;
                    sections.push_back (s);
                }

                return true;
            }

            /** Maps [rva, rva + size) to a file offset; the whole range must lie in one section's
            raw data and inside the file. */
            bool rvaToOffset (uint64_t rva, uint64_t size, uint64_t& offset) const
            {
                for (auto& s : sections)
                {
                    if (rva < s.rva || rva - s.rva >= s.virtualSpan)
                        continue;

                    // Windows refuses an image whose section data runs past the end of the file,
                    // so a truncated module reads as having no version even if the block survived.
                    if (s.rawOffset > fileSize || s.rawSize > fileSize - s.rawOffset)
                        return false;

                    const auto delta = rva - s.rva;

                    if (size > s.rawSize || delta > s.rawSize - size)
                        return false;

                    offset = s.rawOffset + delta;
                    return true;
                }

                return false;
            }

            bool readRva (uint64_t rva, void* destination, size_t size)
            {
                uint64_t offset = 0;
                return rvaToOffset (rva, size, offset) && readAt (offset, destination, size);
            }

            /** Reads a directory's first entry, named or not. The directory's whole entry table
            must fit its section, which rejects absurd entry counts. */
            bool readFirstEntry (uint64_t directoryRva, uint8_t (&entry)[resourceEntrySize])
            {
                uint8_t header[resourceDirectorySize];

                if (! readRva (directoryRva, header, sizeof (header)))
                    return false;

                const size_t total = size_t (u16At (header + 12)) + u16At (header + 14);
                uint64_t unused = 0;

                if (total == 0 || ! rvaToOffset (directoryRva + resourceDirectorySize, total * resourceEntrySize, unused))
                    return false;

                return readRva (directoryRva + resourceDirectorySize, entry, sizeof (entry));
            }

            /** Type 16, then the first name, then the first language: exactly three levels, so a
            pointer cycle cannot keep the walk going. Every offset is relative to the root. */
            bool findVersionData (uint64_t rootRva, uint32_t& dataRva, uint32_t& dataSize)
            {
                uint8_t header[resourceDirectorySize];

                if (! readRva (rootRva, header, sizeof (header)))
                    return false;

                const size_t namedCount = u16At (header + 12);
                const size_t idCount = u16At (header + 14);
                const auto entriesRva = rootRva + resourceDirectorySize;
                uint64_t unused = 0;

                if (idCount == 0 || ! rvaToOffset (entriesRva, (namedCount + idCount) * resourceEntrySize, unused))
                    return false;

                // Id entries follow the named ones, sorted; read only as many as can matter.
                const auto examined = std::min (idCount, maxTypeEntriesExamined);
                std::vector<uint8_t> ids (examined * resourceEntrySize);

                if (! readRva (entriesRva + namedCount * resourceEntrySize, ids.data(), ids.size()))
                    return false;

                uint32_t next = 0;
                bool found = false;

                for (size_t i = 0; i < examined && ! found; ++i)
                {
                    if (u32At (ids.data() + i * resourceEntrySize) == rtVersion)
                    {
                        next = u32At (ids.data() + i * resourceEntrySize + 4);
                        found = true;
                    }
                }

                if (! found)
                    return false;

                for (int level = 1; level <= 2; ++level)
                {
                    if ((next & subdirectoryFlag) == 0)
                        return false;

                    uint8_t entry[resourceEntrySize];

                    if (! readFirstEntry (rootRva + (next & ~subdirectoryFlag), entry))
                        return false;

                    next = u32At (entry + 4);
                }

                if ((next & subdirectoryFlag) != 0)
                    return false;

                uint8_t dataEntry[16];

                if (! readRva (rootRva + next, dataEntry, sizeof (dataEntry)))
                    return false;

                dataRva = u32At (dataEntry);
                dataSize = u32At (dataEntry + 4);
                return true;
            }

            std::string versionFromBlock (uint32_t dataRva, uint32_t dataSize)
            {
                if (dataSize < versionHeadSize)
                    return {};

                uint8_t block[versionHeadSize];

                if (! readRva (dataRva, block, sizeof (block)))
                    return {};

                const auto length = u16At (block);
                const auto valueLength = u16At (block + 2);

                if (length < versionHeadSize || length > dataSize || valueLength < fixedInfoSize)
                    return {};

                static const char key[] = "VS_VERSION_INFO";

                for (size_t i = 0; i < sizeof (key); ++i) // terminator included
                    if (u16At (block + 6 + 2 * i) != static_cast<uint8_t> (key[i]))
                        return {};

                const auto* fixed = block + fixedInfoOffset;

                if (u32At (fixed) != fixedInfoSignature)
                    return {};

                const auto ms = u32At (fixed + 8);
                const auto ls = u32At (fixed + 12);

                return std::to_string (ms >> 16) + "." + std::to_string (ms & 0xFFFF) + "."
                       + std::to_string (ls >> 16) + "." + std::to_string (ls & 0xFFFF);
            }
        };
    }

    std::string readPeFileVersion (ByteSource& source)
    {
        try
        {
            return PeImage (source).fileVersion();
        }
        catch (...)
        {
            return {};
        }
    }

    std::string readPeFileVersion (const std::string& utf8Path)
    {
        FileByteSource source (utf8Path);

        if (! source.isOpen())
            return {};

        return readPeFileVersion (source);
    }

} // namespace kv::pe
