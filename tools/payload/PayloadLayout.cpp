#include "tools/payload/PayloadLayout.h"

#include "identity/FormatTable.h"

#include <stdexcept>

namespace kv::payload
{
    namespace
    {
        // The stand-in product's name; the real product's archives come from its maker.
        constexpr const char* productName = "Strandline2";

        FormatLayout layoutOf (int formatIndex, uint64_t moduleBytes, uint64_t fillerSeed)
        {
            const auto& format = formatTable[(size_t) formatIndex];
            const std::string bundle = std::string (productName) + format.extension;

            std::string moduleFolder = format.moduleFolder;
            for (auto& c : moduleFolder)
                c = c == '/' ? '\\' : c;

            FormatLayout layout { format.name, format.archiveFileName, moduleBytes, fillerSeed, {} };

            if (moduleFolder.empty())
            {
                layout.entries.push_back ({ bundle, EntryKind::module });
                return layout;
            }

            layout.entries.push_back ({ bundle + "\\Contents\\", EntryKind::directory });
            layout.entries.push_back ({ bundle + "\\desktop.ini", EntryKind::desktopIni });
            layout.entries.push_back ({ bundle + "\\Plugin.ico", EntryKind::icon });

            if (formatIndex == 0) // a VST3 bundle describes its module to hosts
                layout.entries.push_back ({ bundle + "\\Contents\\Resources\\moduleinfo.json", EntryKind::moduleInfo });

            layout.entries.push_back ({ bundle + "\\" + moduleFolder + "\\" + bundle, EntryKind::module });
            return layout;
        }
    }

    const FormatLayout& formatLayout (int formatIndex)
    {
        // The real product's module sizes, and a filler seed per format so the modules differ.
        static const FormatLayout layouts[formatCount] {
            layoutOf (0, 17621288, 0x5653543301ull),
            layoutOf (1, 17266472, 0x434C415001ull),
            layoutOf (2, 17400416, 0x4141580001ull),
        };

        if (formatIndex < 0 || formatIndex >= formatCount)
            throw std::out_of_range ("no such plug-in format");

        return layouts[formatIndex];
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
