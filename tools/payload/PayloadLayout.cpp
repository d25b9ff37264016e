#include "tools/payload/PayloadLayout.h"

#include "identity/FormatTable.h"
#include "identity/ProductFacts.h"

#include <stdexcept>

namespace kv::payload
{
    namespace
    {
        // The format's name, up to four letters, then 01: distinct per format.
        uint64_t fillerSeedFor (const FormatFacts& format)
        {
            uint64_t seed = 0;
            const std::string name = format.name;

            for (size_t i = 0; i < 4; ++i)
                seed = (seed << 8) | (i < name.size() ? (uint8_t) name[i] : 0u);

            return (seed << 8) | 1u;
        }

        FormatLayout layoutOf (int formatIndex)
        {
            const auto& format = formatTable[(size_t) formatIndex];
            const std::string bundle = std::string (product_facts::productName) + format.extension;

            std::string moduleFolder = format.moduleFolder;
            for (auto& c : moduleFolder)
                c = c == '/' ? '\\' : c;

            FormatLayout layout { format.name, format.archiveFileName, format.moduleBytes, fillerSeedFor (format), {} };

            if (moduleFolder.empty())
            {
                layout.entries.push_back ({ bundle, EntryKind::module });
                return layout;
            }

            layout.entries.push_back ({ bundle + "\\Contents\\", EntryKind::directory });
            layout.entries.push_back ({ bundle + "\\desktop.ini", EntryKind::desktopIni });
            layout.entries.push_back ({ bundle + "\\Plugin.ico", EntryKind::icon });

            if (format.describesModule)
                layout.entries.push_back ({ bundle + "\\Contents\\Resources\\moduleinfo.json", EntryKind::moduleInfo });

            layout.entries.push_back ({ bundle + "\\" + moduleFolder + "\\" + bundle, EntryKind::module });
            return layout;
        }
    }

    const FormatLayout& formatLayout (int formatIndex)
    {
        if (formatIndex < 0 || formatIndex >= formatCount)
            throw std::out_of_range ("no such plug-in format");

        static const auto layouts = []
        {
            FormatArray<FormatLayout> all;
            for (int i = 0; i < formatCount; ++i)
                all[(size_t) i] = layoutOf (i);
            return all;
        }();

        return layouts[(size_t) formatIndex];
    }

    uint64_t scaledModuleBytes (int formatIndex, uint64_t vst3ModuleBytes)
    {
        const auto reference = formatLayout (0).defaultModuleBytes;
        const auto own = formatLayout (formatIndex).defaultModuleBytes;

        // Integer arithmetic, rounded to nearest, so every platform picks the same sizes.
        if (vst3ModuleBytes > (uint64_t (1) << 40))
            throw std::out_of_range ("module size out of range");

        return (vst3ModuleBytes * own + reference / 2) / reference;
    }

} // namespace kv::payload
