// Writes the seed corpora for the fuzz targets from our own fixtures.
// Usage: kv_fuzz_seeds <corpus folder>   (creates pe_version/ and archive/ inside it)
#include "tools/payload/PayloadBuilder.h"
#include "tools/payload/PeModuleWriter.h"

#include <filesystem>
#include <fstream>

namespace
{
    void write (const std::filesystem::path& file, const kv::payload::Bytes& bytes)
    {
        std::filesystem::create_directories (file.parent_path());
        std::ofstream out (file, std::ios::binary);
        out.write (reinterpret_cast<const char*> (bytes.data()), (std::streamsize) bytes.size());
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
        return 2;

    const std::filesystem::path corpus (argv[1]);

    kv::payload::ModuleOptions module;
    write (corpus / "pe_version" / "module_2300", kv::payload::makeModule (module));
    module.version = kv::payload::ModuleVersion { 3, 0, 0, 0 };
    module.kind = kv::payload::PeKind::pe32;
    write (corpus / "pe_version" / "module_pe32", kv::payload::makeModule (module));
    module.version.reset();
    write (corpus / "pe_version" / "module_no_version", kv::payload::makeModule (module));

    for (int i = 0; i < 3; ++i)
    {
        kv::payload::ArchiveOptions options;
        options.moduleBytes = 2048;
        write (corpus / "archive" / ("format" + std::to_string (i) + ".zip"), kv::payload::buildFormatArchive (0, options));
    }

    kv::payload::ZipWriter links;
    links.addDirectory ("Strandline2.vst3\\");
    links.addSymlink ("Strandline2.vst3\\link", "/etc");
    links.addTextFile ("..\\escape.txt", "x");
    write (corpus / "archive" / "unsafe.zip", links.toBytes());
    return 0;
}
