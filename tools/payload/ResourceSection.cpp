#include "tools/payload/ResourceSection.h"

#include <algorithm>
#include <map>

namespace kv::payload
{
    namespace
    {
        constexpr uint32_t subdirectoryFlag = 0x80000000;
        constexpr size_t directoryHeaderSize = 16;
        constexpr size_t directoryEntrySize = 8;
        constexpr size_t dataEntrySize = 16;

        size_t directorySize (size_t entryCount)
        {
            return directoryHeaderSize + entryCount * directoryEntrySize;
        }

        void writeDirectoryHeader (ByteWriter& out, size_t idEntries)
        {
            out.u32 (0); // characteristics
            out.u32 (0); // timestamp: zero keeps builds reproducible
            out.u16 (0); // major version
            out.u16 (0); // minor version
            out.u16 (0); // named entries
            out.u16 (static_cast<uint32_t> (idEntries));
        }

        using LanguageMap = std::map<uint16_t, size_t>; // language -> item index
        using NameMap = std::map<uint16_t, LanguageMap>;
        using TypeMap = std::map<uint16_t, NameMap>;
    }

    ResourceSectionBody makeResourceSection (const std::vector<ResourceItem>& items, uint32_t sectionRva)
    {
        TypeMap tree;

        for (size_t i = 0; i < items.size(); ++i)
            tree[items[i].type][items[i].nameId][items[i].language] = i;

        // Directories first (root, then every name level, then every language level), then the
        // data entries, then the data: the order link.exe uses.
        size_t nameDirectoriesStart = directorySize (tree.size());
        size_t languageDirectoriesStart = nameDirectoriesStart;

        for (auto& [type, names] : tree)
            languageDirectoriesStart += directorySize (names.size());

        size_t dataEntriesStart = languageDirectoriesStart;
        size_t leafCount = 0;

        for (auto& [type, names] : tree)
            for (auto& [name, languages] : names)
            {
                dataEntriesStart += directorySize (languages.size());
                leafCount += languages.size();
            }

        ResourceSectionBody body;
        body.dataOffsets.resize (items.size());
        ByteWriter out (body.bytes);

        writeDirectoryHeader (out, tree.size());
        auto nextNameDirectory = nameDirectoriesStart;

        for (auto& [type, names] : tree)
        {
            out.u32 (type);
            out.u32 (static_cast<uint32_t> (nextNameDirectory) | subdirectoryFlag);
            nextNameDirectory += directorySize (names.size());
        }

        auto nextLanguageDirectory = languageDirectoriesStart;

        for (auto& [type, names] : tree)
        {
            writeDirectoryHeader (out, names.size());

            for (auto& [name, languages] : names)
            {
                out.u32 (name);
                out.u32 (static_cast<uint32_t> (nextLanguageDirectory) | subdirectoryFlag);
                nextLanguageDirectory += directorySize (languages.size());
            }
        }

        std::vector<size_t> leafOrder;
        auto nextDataEntry = dataEntriesStart;

        for (auto& [type, names] : tree)
            for (auto& [name, languages] : names)
            {
                writeDirectoryHeader (out, languages.size());

                for (auto& [language, index] : languages)
                {
                    out.u32 (language);
                    out.u32 (static_cast<uint32_t> (nextDataEntry));
                    nextDataEntry += dataEntrySize;
                    leafOrder.push_back (index);
                }
            }

        auto nextData = alignUp (dataEntriesStart + leafCount * dataEntrySize, 8);

        for (auto index : leafOrder)
        {
            out.u32 (static_cast<uint32_t> (sectionRva + nextData));
            out.u32 (static_cast<uint32_t> (items[index].data.size()));
            out.u32 (0); // code page
            out.u32 (0); // reserved
            nextData = alignUp (nextData + items[index].data.size(), 8);
        }

        for (auto index : leafOrder)
        {
            out.padTo (8);
            body.dataOffsets[index] = static_cast<uint32_t> (out.size());
            out.bytes (items[index].data);
        }

        return body;
    }

} // namespace kv::payload
