#include "tools/payload/PayloadLayout.h"

#include <stdexcept>

namespace kv::payload
{
    const FormatLayout& formatLayout (int formatIndex)
    {
        static const FormatLayout layouts[formatCount] {
            { "VST3", "vst3.zip", 17621288, 0x5653543301ull, {
                                                                 { "Strandline2.vst3\\Contents\\", EntryKind::directory },
                                                                 { "Strandline2.vst3\\desktop.ini", EntryKind::desktopIni },
                                                                 { "Strandline2.vst3\\Plugin.ico", EntryKind::icon },
                                                                 { "Strandline2.vst3\\Contents\\Resources\\moduleinfo.json", EntryKind::moduleInfo },
                                                                 { "Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3", EntryKind::module },
                                                             } },
            { "CLAP", "clap.zip", 17266472, 0x434C415001ull, {
                                                                 { "Strandline2.clap", EntryKind::module },
                                                             } },
            { "AAX", "aax.zip", 17400416, 0x4141580001ull, {
                                                               { "Strandline2.aaxplugin\\Contents\\", EntryKind::directory },
                                                               { "Strandline2.aaxplugin\\desktop.ini", EntryKind::desktopIni },
                                                               { "Strandline2.aaxplugin\\Plugin.ico", EntryKind::icon },
                                                               { "Strandline2.aaxplugin\\Contents\\x64\\Strandline2.aaxplugin", EntryKind::module },
                                                           } },
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
