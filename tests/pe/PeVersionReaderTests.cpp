#include "pe/PeVersionReader.h"
#include "tests/support/TempFolder.h"
#include "tools/payload/PeModuleWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using kv::payload::ModuleOptions;
using kv::payload::ModuleVersion;
using kv::pe::readPeFileVersion;

namespace
{
    std::string versionOfBytes (const kv::payload::Bytes& bytes)
    {
        kv::pe::MemoryByteSource source (bytes.data(), bytes.size());
        return readPeFileVersion (source);
    }

    class PeVersionOfOurModules : public ::testing::TestWithParam<ModuleVersion>
    {
    };
}

TEST_P (PeVersionOfOurModules, ReadsTheFileVersionFromDiskAndMemory)
{
    ModuleOptions options;
    options.version = GetParam();
    options.fileBytes = 40000;
    const auto module = kv::payload::makeModule (options);

    kv::test::TempFolder temp;
    const auto path = temp.write ("Strandline2.vst3", module);
    EXPECT_EQ (readPeFileVersion (path), GetParam().toString());
    EXPECT_EQ (versionOfBytes (module), GetParam().toString());
}

INSTANTIATE_TEST_SUITE_P (Versions, PeVersionOfOurModules,
                          ::testing::Values (ModuleVersion { 2, 3, 0, 0 }, ModuleVersion { 2, 3, 1, 0 },
                                             ModuleVersion { 2, 10, 0, 0 }, ModuleVersion { 2, 2, 9, 0 },
                                             ModuleVersion { 0, 0, 0, 0 }, ModuleVersion { 3, 0, 0, 0 },
                                             ModuleVersion { 65535, 65535, 65535, 65535 }));

TEST (PeVersionReader, ModulesWithoutAVersionResourceHaveNoVersion)
{
    ModuleOptions bare;
    bare.version.reset();
    EXPECT_EQ (versionOfBytes (kv::payload::makeModule (bare)), "");

    ModuleOptions manifestOnly = bare;
    manifestOnly.extraResources.push_back ({ 24, 2, 0x409, kv::payload::Bytes (200, ' ') });
    EXPECT_EQ (versionOfBytes (kv::payload::makeModule (manifestOnly)), "");
}

TEST (PeVersionReader, FindsTheVersionAmongOtherResourceTypes)
{
    ModuleOptions options;
    options.version = ModuleVersion { 2, 3, 0, 7 };

    for (uint16_t type : { 3, 14, 24 })
        options.extraResources.push_back ({ type, 1, 0x409, kv::payload::Bytes (64, 'x') });

    EXPECT_EQ (versionOfBytes (kv::payload::makeModule (options)), "2.3.0.7");
}

TEST (PeVersionReader, AcceptsThirtyTwoBitImages)
{
    ModuleOptions options;
    options.kind = kv::payload::PeKind::pe32;
    options.version = ModuleVersion { 1, 4, 2, 9 };
    EXPECT_EQ (versionOfBytes (kv::payload::makeModule (options)), "1.4.2.9");
}

//==============================================================================
// PE files built by other toolchains, which our setup installs: Wine's own DLLs (built by
// Wine's toolchain, with version resources) and MinGW's runtime DLLs (built by GCC, mostly
// without). Each is checked against an independent reading: the fixed file-info block found
// by its signature anywhere in the file, with no walk of PE headers or resource directories.
namespace
{
    std::string versionBySignatureScan (const std::filesystem::path& path)
    {
        std::ifstream in (path, std::ios::binary);
        const std::vector<unsigned char> bytes ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());
        const unsigned char signature[] = { 0xbd, 0x04, 0xef, 0xfe }; // VS_FIXEDFILEINFO, little-endian

        const auto at = std::search (bytes.begin(), bytes.end(), std::begin (signature), std::end (signature));
        if (at == bytes.end() || bytes.end() - at < 16)
            return {};

        const auto word = [&] (long offset)
        { return (unsigned) (at[offset] | (at[offset + 1] << 8)); };
        return std::to_string (word (10)) + "." + std::to_string (word (8)) + "." + std::to_string (word (14)) + "." + std::to_string (word (12));
    }

    std::vector<std::filesystem::path> peFilesIn (const char* folder, size_t atMost)
    {
        std::vector<std::filesystem::path> found;
        std::error_code error;

        for (const auto& entry : std::filesystem::directory_iterator (folder, error))
            if (entry.path().extension() == ".dll" && entry.is_regular_file())
                found.push_back (entry.path());

        std::sort (found.begin(), found.end());
        if (found.size() > atMost)
            found.resize (atMost);
        return found;
    }
}

TEST (PeVersionReader, ReadsRealPeFilesFromOtherToolchainsAsAnIndependentReaderDoes)
{
    int withVersion = 0, without = 0;

    for (const auto* folder : { "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/lib/gcc/x86_64-w64-mingw32/12-posix" })
    {
        for (const auto& path : peFilesIn (folder, 40))
        {
            const auto expected = versionBySignatureScan (path);
            EXPECT_EQ (readPeFileVersion (path.string()), expected) << path;
            ++(expected.empty() ? without : withVersion);
        }
    }

    // Both kinds must be there, or this tests nothing: scripts/setup-windows.sh installs them.
    EXPECT_GT (withVersion, 8) << "Wine's DLLs are missing";
    EXPECT_GT (without, 2) << "MinGW's runtime DLLs are missing";
}
