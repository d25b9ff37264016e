#pragma once

#include "tools/payload/ModuleVersion.h"
#include "tools/payload/ZipWriter.h"

#include <optional>

namespace kv::payload
{
    struct ArchiveOptions
    {
        std::optional<uint64_t> moduleBytes; // default: the format's real size
        std::optional<ModuleVersion> moduleVersion = ModuleVersion {}; // nullopt: no version resource
        int deflateLevel = 6;
    };

    /** The archive for one format (0 VST3, 1 CLAP, 2 AAX) as a writer, for tests that add
    entries or faults before serialising it. */
    ZipWriter makeFormatArchive (int formatIndex, const ArchiveOptions& options = {});

    inline Bytes buildFormatArchive (int formatIndex, const ArchiveOptions& options = {})
    {
        return makeFormatArchive (formatIndex, options).toBytes();
    }

    struct WrittenArchive
    {
        std::string path;
        uint64_t bytes = 0;
    };

    /** Creates `folder` if needed and writes vst3.zip, clap.zip and aax.zip into it. With a
    module size, the VST3 module gets exactly that and the others scale with it. Throws
    std::runtime_error when a file cannot be written. */
    std::vector<WrittenArchive> writeProductArchives (const std::string& utf8Folder,
                                                      std::optional<uint64_t> vst3ModuleBytes = std::nullopt);

} // namespace kv::payload
