#pragma once

#include "identity/FormatTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv::payload
{
    enum class EntryKind
    {
        directory,
        desktopIni,
        icon,
        moduleInfo,
        module
    };

    struct LayoutEntry
    {
        std::string name; // as stored in the archive, '\' separated
        EntryKind kind;
    };

    /** One product archive: its file name and its entries, in archive order, following the
        format table (identity/FormatTable.h). */
    struct FormatLayout
    {
        std::string formatName;
        std::string archiveName;
        uint64_t defaultModuleBytes; // the size of the real product's module
        uint64_t fillerSeed; // distinct per format, so the three modules differ
        std::vector<LayoutEntry> entries;
    };

    inline constexpr int formatCount = numFormats;

    /** Throws std::out_of_range for an index outside [0, formatCount). */
    const FormatLayout& formatLayout (int formatIndex);

    /** `--module-bytes N` sets the VST3 module's size; the others keep their real proportions. */
    uint64_t scaledModuleBytes (int formatIndex, uint64_t vst3ModuleBytes);

} // namespace kv::payload
