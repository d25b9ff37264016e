#include "tools/payload/PeModuleWriter.h"

#include "tools/payload/FillerBytes.h"
#include "tools/payload/VersionInfoBlock.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kv::payload
{
    namespace
    {
        constexpr uint32_t fileAlignment = 0x200;
        constexpr uint32_t sectionAlignment = 0x1000;
        constexpr uint32_t peHeaderOffset = 0x80;
        constexpr uint32_t fileHeaderSize = 20;
        constexpr uint32_t sectionHeaderSize = 40;
        constexpr uint32_t dataDirectoryCount = 16;
        constexpr uint32_t resourceDirectoryIndex = 2;
        constexpr uint32_t checksumFieldOffset = 64; // within the optional header, PE32 and PE32+ alike

        constexpr uint16_t machineAmd64 = 0x8664;
        constexpr uint16_t machineI386 = 0x014C;
        constexpr uint16_t fileExecutableImage = 0x0002;
        constexpr uint16_t fileLargeAddressAware = 0x0020;
        constexpr uint16_t file32BitMachine = 0x0100;
        constexpr uint16_t fileDll = 0x2000;

        constexpr uint16_t dllHighEntropyVa = 0x0020;
        constexpr uint16_t dllDynamicBase = 0x0040;
        constexpr uint16_t dllNxCompat = 0x0100;
        constexpr uint16_t subsystemWindowsGui = 2;

        constexpr uint32_t scnCode = 0x00000020;
        constexpr uint32_t scnInitialisedData = 0x00000040;
        constexpr uint32_t scnExecute = 0x20000000;
        constexpr uint32_t scnRead = 0x40000000;

        constexpr uint16_t rtVersion = 16;

        struct Section
        {
            const char* name = "";
            Bytes raw; // already padded to the file alignment
            uint32_t virtualSize = 0;
            uint32_t characteristics = 0;
            uint32_t rva = 0;
            uint32_t fileOffset = 0;
        };

        Bytes dosHeaderAndStub()
        {
            Bytes header (peHeaderOffset, 0);
            const std::pair<size_t, uint16_t> fields[] {
                { 0x00, 0x5A4D }, // "MZ"
                { 0x02, 0x90 }, // bytes on the last page
                { 0x04, 3 }, // pages
                { 0x08, 4 }, // header paragraphs
                { 0x0C, 0xFFFF }, // maximum extra paragraphs
                { 0x10, 0xB8 }, // sp
                { 0x18, 0x40 }, // relocation table offset
            };

            for (auto [offset, value] : fields)
                putU16 (header, offset, value);

            putU32 (header, 0x3C, peHeaderOffset);

            // The classic real-mode stub: print the message and exit.
            const uint8_t stubCode[] = { 0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21 };
            const char message[] = "This program cannot be run in DOS mode.\r\r\n$";
            std::copy (std::begin (stubCode), std::end (stubCode), header.begin() + 0x40);
            std::copy (message, message + sizeof (message) - 1, header.begin() + 0x40 + sizeof (stubCode));
            return header;
        }

        Bytes textSection (PeKind kind)
        {
            // DllMain: return TRUE. The x86 one is stdcall and pops its three arguments.
            Bytes code = kind == PeKind::pe32Plus ? Bytes { 0xB8, 0x01, 0x00, 0x00, 0x00, 0xC3 }
                                                  : Bytes { 0xB8, 0x01, 0x00, 0x00, 0x00, 0xC2, 0x0C, 0x00 };
            return code;
        }

        void padToFileAlignment (Bytes& raw)
        {
            raw.resize (alignUp (std::max<size_t> (raw.size(), 1), fileAlignment), 0);
        }

        uint32_t optionalHeaderSize (PeKind kind)
        {
            return kind == PeKind::pe32Plus ? 240 : 224;
        }

        uint32_t peChecksum (const Bytes& file, size_t checksumOffset)
        {
            uint64_t sum = 0;

            for (size_t i = 0; i < file.size(); i += 2)
            {
                if (i == checksumOffset || i == checksumOffset + 2)
                    continue;

                uint32_t word = file[i];

                if (i + 1 < file.size())
                    word |= uint32_t (file[i + 1]) << 8;

                sum += word;
                sum = (sum & 0xFFFF) + (sum >> 16);
            }

            sum = (sum & 0xFFFF) + (sum >> 16);
            return static_cast<uint32_t> (sum + file.size());
        }

        void writeHeaders (ByteWriter& out, const ModuleOptions& options, const std::vector<Section>& sections,
                           uint32_t sizeOfHeaders, const Section* resources)
        {
            const bool plus = options.kind == PeKind::pe32Plus;
            const auto& last = sections.back();
            const auto sizeOfImage = static_cast<uint32_t> (alignUp (last.rva + last.virtualSize, sectionAlignment));

            uint32_t sizeOfCode = 0;
            uint32_t sizeOfData = 0;

            for (auto& s : sections)
                ((s.characteristics & scnCode) != 0 ? sizeOfCode : sizeOfData) += static_cast<uint32_t> (s.raw.size());

            out.text (std::string ("PE\0\0", 4));
            out.u16 (plus ? machineAmd64 : machineI386);
            out.u16 (static_cast<uint32_t> (sections.size()));
            out.u32 (0); // timestamp: zero keeps builds reproducible
            out.u32 (0); // symbol table
            out.u32 (0); // symbols
            out.u16 (optionalHeaderSize (options.kind));
            out.u16 (fileExecutableImage | fileDll | (plus ? fileLargeAddressAware : file32BitMachine));

            out.u16 (plus ? 0x20B : 0x10B);
            out.u8 (14); // linker version
            out.u8 (0);
            out.u32 (sizeOfCode);
            out.u32 (sizeOfData);
            out.u32 (0); // uninitialised data
            out.u32 (sections.front().rva); // entry point: the stub at the start of .text
            out.u32 (sections.front().rva); // base of code

            if (plus)
            {
                out.u64 (0x180000000ull);
            }
            else
            {
                out.u32 (sections.size() > 1 ? sections[1].rva : 0); // base of data
                out.u32 (0x10000000);
            }

            out.u32 (sectionAlignment);
            out.u32 (fileAlignment);
            out.u16 (6); // operating system version
            out.u16 (0);
            out.u16 (0); // image version
            out.u16 (0);
            out.u16 (6); // subsystem version
            out.u16 (0);
            out.u32 (0); // Win32 version value
            out.u32 (sizeOfImage);
            out.u32 (sizeOfHeaders);
            out.u32 (0); // checksum, filled in once the file is complete
            out.u16 (subsystemWindowsGui);
            out.u16 (dllDynamicBase | dllNxCompat | (plus ? dllHighEntropyVa : 0));

            for (uint64_t value : { 0x100000ull, 0x1000ull, 0x100000ull, 0x1000ull }) // stack and heap
                plus ? out.u64 (value) : out.u32 (static_cast<uint32_t> (value));

            out.u32 (0); // loader flags
            out.u32 (dataDirectoryCount);

            for (uint32_t i = 0; i < dataDirectoryCount; ++i)
            {
                const bool isResources = i == resourceDirectoryIndex && resources != nullptr;
                out.u32 (isResources ? resources->rva : 0);
                out.u32 (isResources ? resources->virtualSize : 0);
            }

            for (auto& s : sections)
            {
                std::string name (s.name);
                name.resize (8, '\0');
                out.text (name);
                out.u32 (s.virtualSize);
                out.u32 (s.rva);
                out.u32 (static_cast<uint32_t> (s.raw.size()));
                out.u32 (s.fileOffset);
                out.u32 (0); // relocations
                out.u32 (0); // line numbers
                out.u16 (0);
                out.u16 (0);
                out.u32 (s.characteristics);
            }
        }
    }

    ModuleImage buildModuleImage (const ModuleOptions& options)
    {
        std::vector<ResourceItem> resourceItems = options.extraResources;

        if (options.version)
            resourceItems.push_back ({ rtVersion, 1, 0x0409, makeVersionInfoBlock (*options.version) });

        std::vector<Section> sections;
        sections.push_back ({ ".text", textSection (options.kind), 0, scnCode | scnExecute | scnRead });

        const bool hasResources = ! resourceItems.empty();
        const auto sectionCount = static_cast<uint32_t> (2 + (hasResources ? 1 : 0));
        const auto headersEnd = peHeaderOffset + 4 + fileHeaderSize + optionalHeaderSize (options.kind)
                                + sectionCount * sectionHeaderSize;
        const auto sizeOfHeaders = static_cast<uint32_t> (alignUp (headersEnd, fileAlignment));

        // The .rsrc body depends on its own RVA, which depends on the filler's size, which depends
        // on the .rsrc size. The body's length does not depend on the RVA, so measure it first.
        const auto resourceRawSize = hasResources ? alignUp (makeResourceSection (resourceItems, 0).bytes.size(), fileAlignment) : 0;
        const auto fixedSize = sizeOfHeaders + fileAlignment + resourceRawSize;

        uint64_t fillerSize = fileAlignment;

        if (options.fileBytes > fixedSize + fileAlignment)
            fillerSize = (options.fileBytes - fixedSize) / fileAlignment * fileAlignment;

        if (fixedSize + fillerSize > 0xF0000000ull)
            throw std::invalid_argument ("module size too large for a PE image");

        Bytes filler;
        appendFillerBytes (filler, static_cast<size_t> (fillerSize), options.fillerSeed);
        sections.push_back ({ ".rdata", std::move (filler), 0, scnInitialisedData | scnRead });

        uint32_t nextRva = sectionAlignment;
        uint32_t nextOffset = sizeOfHeaders;

        auto place = [&] (Section& s)
        {
            if (s.virtualSize == 0)
                s.virtualSize = static_cast<uint32_t> (s.raw.size());

            padToFileAlignment (s.raw);
            s.rva = nextRva;
            s.fileOffset = nextOffset;
            nextRva += static_cast<uint32_t> (alignUp (s.virtualSize, sectionAlignment));
            nextOffset += static_cast<uint32_t> (s.raw.size());
        };

        for (auto& s : sections)
            place (s);

        uint32_t versionDataOffset = 0;

        if (hasResources)
        {
            auto body = makeResourceSection (resourceItems, nextRva);
            versionDataOffset = body.dataOffsets.back();
            const auto bodySize = static_cast<uint32_t> (body.bytes.size());
            sections.push_back ({ ".rsrc", std::move (body.bytes), bodySize, scnInitialisedData | scnRead });
            place (sections.back());
        }

        ModuleImage image;
        image.peHeaderOffset = peHeaderOffset;
        image.optionalHeaderOffset = peHeaderOffset + 4 + fileHeaderSize;
        image.sectionTableOffset = image.optionalHeaderOffset + optionalHeaderSize (options.kind);
        image.sectionCount = static_cast<uint16_t> (sections.size());

        auto& file = image.bytes;
        file.reserve (static_cast<size_t> (std::max<uint64_t> (options.fileBytes, nextOffset)));
        ByteWriter out (file);
        out.bytes (dosHeaderAndStub());
        writeHeaders (out, options, sections, sizeOfHeaders, hasResources ? &sections.back() : nullptr);
        out.zeros (sizeOfHeaders - file.size());

        for (auto& s : sections)
            out.bytes (s.raw);

        if (options.fileBytes > file.size())
            out.zeros (static_cast<size_t> (options.fileBytes - file.size()));

        putU32 (file, image.optionalHeaderOffset + checksumFieldOffset,
                peChecksum (file, image.optionalHeaderOffset + checksumFieldOffset));

        if (hasResources)
        {
            const auto& rsrc = sections.back();
            image.resourceSectionOffset = rsrc.fileOffset;
            image.resourceSectionRva = rsrc.rva;

            if (options.version)
            {
                image.versionBlockOffset = rsrc.fileOffset + versionDataOffset;
                image.versionBlockSize = static_cast<uint32_t> (resourceItems.back().data.size());
            }
        }

        return image;
    }

} // namespace kv::payload
