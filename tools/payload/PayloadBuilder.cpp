#include "tools/payload/PayloadBuilder.h"

#include "tools/payload/FileOutput.h"
#include "tools/payload/IcoWriter.h"
#include "tools/payload/PayloadLayout.h"
#include "tools/payload/PayloadTexts.h"
#include "tools/payload/PeModuleWriter.h"

#include <filesystem>
#include <stdexcept>

namespace kv::payload
{
    ZipWriter makeFormatArchive (int formatIndex, const ArchiveOptions& options)
    {
        const auto& layout = formatLayout (formatIndex);

        ModuleOptions module;
        module.version = options.moduleVersion;
        module.fileBytes = options.moduleBytes.value_or (layout.defaultModuleBytes);
        module.fillerSeed = layout.fillerSeed;

        ZipWriter zip;

        for (auto& entry : layout.entries)
        {
            ZipEntry* added = nullptr;

            switch (entry.kind)
            {
                case EntryKind::directory: added = &zip.addDirectory (entry.name); break;
                case EntryKind::desktopIni: added = &zip.addTextFile (entry.name, desktopIniText()); break;
                case EntryKind::icon: added = &zip.addFile (entry.name, makePluginIcon()); break;
                case EntryKind::moduleInfo: added = &zip.addTextFile (entry.name, moduleInfoJson()); break;
                case EntryKind::module: added = &zip.addFile (entry.name, makeModule (module)); break;
            }

            added->level = options.deflateLevel;
        }

        return zip;
    }

    std::vector<WrittenArchive> writeProductArchives (const std::string& utf8Folder, std::optional<uint64_t> vst3ModuleBytes)
    {
        namespace fs = std::filesystem;

        std::error_code error;
        const auto folder = fs::u8path (utf8Folder);
        fs::create_directories (folder, error);

        if (! fs::is_directory (folder))
            throw std::runtime_error ("cannot create " + utf8Folder);

        std::vector<WrittenArchive> written;

        for (int i = 0; i < formatCount; ++i)
        {
            ArchiveOptions options;

            if (vst3ModuleBytes)
                options.moduleBytes = scaledModuleBytes (i, *vst3ModuleBytes);

            const auto bytes = buildFormatArchive (i, options);
            const auto path = (folder / formatLayout (i).archiveName).u8string();
            writeFileAtomically (path, bytes);
            written.push_back ({ path, bytes.size() });
        }

        return written;
    }

} // namespace kv::payload
