#pragma once

#include "tools/payload/ByteWriter.h"
#include "tools/payload/ModuleVersion.h"
#include "tools/payload/ResourceSection.h"

#include <optional>

namespace kv::payload
{
    enum class PeKind
    {
        pe32Plus, // x64, what the product ships
        pe32 // x86, for readers that must accept both
    };

    struct ModuleOptions
    {
        std::optional<ModuleVersion> version = ModuleVersion {}; // nullopt: no version resource at all
        uint64_t fileBytes = 0; // total size wanted; 0 (or too small) gives the smallest module
        PeKind kind = PeKind::pe32Plus;
        uint64_t fillerSeed = 0x4B6F7276616E65ull;
        std::vector<ResourceItem> extraResources; // e.g. a manifest or an icon beside the version
    };

    /** A generated module plus where its parts landed, so tests can corrupt them precisely. */
    struct ModuleImage
    {
        Bytes bytes;
        uint32_t peHeaderOffset = 0; // "PE\0\0"
        uint32_t optionalHeaderOffset = 0;
        uint32_t sectionTableOffset = 0;
        uint16_t sectionCount = 0;
        uint32_t resourceSectionOffset = 0; // file offset of .rsrc, 0 when there is none
        uint32_t resourceSectionRva = 0;
        uint32_t versionBlockOffset = 0; // file offset of VS_VERSIONINFO, 0 when there is none
        uint32_t versionBlockSize = 0;
    };

    /** A loadable Windows DLL: DOS stub, PE headers, a .text stub whose entry point returns TRUE,
    an optional .rdata filler to reach the requested size, and a .rsrc section. Whatever is
    left below one file-alignment unit is appended as trailing data, as a signature would be. */
    ModuleImage buildModuleImage (const ModuleOptions& options);

    inline Bytes makeModule (const ModuleOptions& options) { return buildModuleImage (options).bytes; }

} // namespace kv::payload
