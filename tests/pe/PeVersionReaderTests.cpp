#include "platform/PeVersionReader.h"
#include "tests/payload/TempFolder.h"
#include "tools/payload/PeModuleWriter.h"

#include <gtest/gtest.h>

using kv::payload::ModuleOptions;
using kv::payload::ModuleVersion;
using kv::platform::readPeFileVersion;

namespace
{
    std::string versionOfBytes (const kv::payload::Bytes& bytes)
    {
        kv::platform::MemoryByteSource source (bytes.data(), bytes.size());
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
// PE files that ship in installed packages, built by other toolchains. Their versions were
// read with llvm-readobj's resource dump.
namespace
{
    struct RealPeFile
    {
        const char* path;
        const char* version;
    };

    const RealPeFile realPeFiles[] {
        { "/usr/lib/google-cloud-sdk/platform/bundledpythonunix/lib/python3.12/site-packages/pip/_vendor/distlib/w64.exe", "1.1.0.14" },
        { "/usr/lib/google-cloud-sdk/platform/bundledpythonunix/lib/python3.12/site-packages/pip/_vendor/distlib/t32.exe", "1.1.0.14" },
        { "/usr/lib/google-cloud-sdk/platform/bundledpythonunix/lib/python3.12/site-packages/pip/_vendor/distlib/t64-arm.exe", "1.1.0.14" },
        { "/usr/lib/perf-core/tests/pe-file.exe", "" }, // a PE32+ with no resources at all
    };
}

TEST (PeVersionReader, ReadsRealPeFilesFromOtherToolchains)
{
    int found = 0;

    for (auto& file : realPeFiles)
    {
        if (! std::filesystem::is_regular_file (file.path))
            continue;

        ++found;
        EXPECT_EQ (readPeFileVersion (file.path), file.version) << file.path;
    }

    if (found == 0)
        GTEST_SKIP() << "none of the known PE files is installed here";
}
