#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    struct ResourceItem
    {
        uint16_t type = 0; // e.g. 16 for RT_VERSION, 24 for RT_MANIFEST
        uint16_t nameId = 1;
        uint16_t language = 0x0409;
        Bytes data;
    };

    struct ResourceSectionBody
    {
        Bytes bytes;
        std::vector<uint32_t> dataOffsets; // where each item's data starts, in the order given
    };

    /** A .rsrc section body: the three-level directory tree (type, name, language), its data
    entries and the data itself. Data entries hold RVAs, hence the section's RVA. Only numeric
    ids are written; entries are sorted as Windows' binary search requires. */
    ResourceSectionBody makeResourceSection (const std::vector<ResourceItem>& items, uint32_t sectionRva);

} // namespace kv::payload
