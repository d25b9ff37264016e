#include "tests/support/TempFolder.h"
#include "tests/tools/payload/ZipTestReader.h"
#include "tools/payload/PayloadBuilder.h"
#include "tools/payload/PayloadLayout.h"

#include <gtest/gtest.h>

using namespace kv::payload;
using kv::test::le16;
using kv::test::le32;

namespace
{
    constexpr uint64_t smallModuleBytes = 300 * 1024;

    struct ExpectedEntry
    {
        const char* name;
        uint32_t method;
    };

    // Installers in the field depend on these exact names and this order.
    const std::vector<ExpectedEntry> expectedEntries[formatCount] {
        {
            { "Strandline2.vst3\\Contents\\", 0 },
            { "Strandline2.vst3\\desktop.ini", 8 },
            { "Strandline2.vst3\\Plugin.ico", 8 },
            { "Strandline2.vst3\\Contents\\Resources\\moduleinfo.json", 8 },
            { "Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3", 8 },
        },
        {
            { "Strandline2.clap", 8 },
        },
        {
            { "Strandline2.aaxplugin\\Contents\\", 0 },
            { "Strandline2.aaxplugin\\desktop.ini", 8 },
            { "Strandline2.aaxplugin\\Plugin.ico", 8 },
            { "Strandline2.aaxplugin\\Contents\\x64\\Strandline2.aaxplugin", 8 },
        },
    };

    class PayloadArchives : public ::testing::Test
    {
    protected:
        static void SetUpTestSuite()
        {
            for (int i = 0; i < formatCount; ++i)
            {
                ArchiveOptions options;
                options.moduleBytes = smallModuleBytes;
                archives[i] = buildFormatArchive (i, options);
            }
        }

        static Bytes extract (int format, const std::string& suffix)
        {
            auto listing = kv::test::listZip (archives[format]);

            for (auto& e : listing.value().entries)
                if (e.name.size() >= suffix.size() && e.name.compare (e.name.size() - suffix.size(), suffix.size(), suffix) == 0)
                    return kv::test::extractZipEntry (archives[format], e).value();

            ADD_FAILURE() << "no entry ending in " << suffix;
            return {};
        }

        static inline Bytes archives[formatCount];
    };
}

TEST_F (PayloadArchives, HaveExactlyTheProductEntriesInOrder)
{
    for (int format = 0; format < formatCount; ++format)
    {
        SCOPED_TRACE (formatLayout (format).archiveName);
        auto listing = kv::test::listZip (archives[format]);
        ASSERT_TRUE (listing.has_value());
        EXPECT_TRUE (listing->comment.empty());
        ASSERT_EQ (listing->entries.size(), expectedEntries[format].size());

        for (size_t i = 0; i < listing->entries.size(); ++i)
        {
            const auto& e = listing->entries[i];
            EXPECT_EQ (e.name, expectedEntries[format][i].name);
            EXPECT_EQ (e.method, expectedEntries[format][i].method);

            auto data = kv::test::extractZipEntry (archives[format], e);
            ASSERT_TRUE (data.has_value()) << e.name;
            EXPECT_EQ (e.crc, kv::test::crcOf (*data)) << e.name;

            if (e.name.back() == '\\')
            {
                EXPECT_TRUE (data->empty());
            }
        }
    }
}

TEST_F (PayloadArchives, DesktopIniIsTheFourExpectedLines)
{
    const std::string expected = "[.ShellClassInfo]\r\nIconResource=Plugin.ico,0\r\nIconFile=Plugin.ico\r\nIconIndex=0\r\n";
    ASSERT_EQ (expected.size(), 80u);

    for (int format : { 0, 2 })
    {
        auto ini = extract (format, "\\desktop.ini");
        EXPECT_EQ (std::string (ini.begin(), ini.end()), expected);
    }
}

TEST_F (PayloadArchives, ModuleInfoIsValidJsonDescribingTheProduct)
{
    auto json = extract (0, "\\moduleinfo.json");
    const std::string text (json.begin(), json.end());
    EXPECT_GT (text.size(), 800u);
    EXPECT_LT (text.size(), 1600u);

    if (! kv::test::commandExists ("python3"))
        GTEST_SKIP() << "python3 is not installed";

    kv::test::TempFolder temp;
    const auto path = temp.write ("moduleinfo.json", json);
    const std::string check =
        "import json, sys\n"
        "d = json.load (open (sys.argv[1], encoding='utf-8'))\n"
        "assert d['Name'] == 'Strandline2' and d['Version'] == '2.3.0'\n"
        "assert d['Factory Info']['Vendor'] == 'Korvane'\n"
        "effects = [c for c in d['Classes'] if c['Category'] == 'Audio Module Class']\n"
        "assert len (effects) == 1 and 'Fx' in effects[0]['Sub Categories']\n";
    const auto script = temp.write ("check.py", Bytes (check.begin(), check.end()));
    EXPECT_EQ (kv::test::runCommand ("python3 '" + script + "' '" + path + "'"), 0);
}

TEST_F (PayloadArchives, ModulesArePe32PlusDllsOfTheRequestedSize)
{
    const char* suffixes[] = { "x86_64-win\\Strandline2.vst3", "Strandline2.clap", "x64\\Strandline2.aaxplugin" };

    for (int format = 0; format < formatCount; ++format)
    {
        auto module = extract (format, suffixes[format]);
        ASSERT_EQ (module.size(), smallModuleBytes);
        ASSERT_EQ (le16 (module, 0), 0x5A4Du);
        const auto pe = le32 (module, 0x3C);
        EXPECT_EQ (le32 (module, pe), 0x00004550u);
        EXPECT_EQ (le16 (module, pe + 4), 0x8664u);
        EXPECT_EQ (le16 (module, pe + 22) & 0x2022u, 0x2022u) << "DLL, executable, large-address aware";
        EXPECT_EQ (le16 (module, pe + 24), 0x20Bu);
    }
}

TEST_F (PayloadArchives, ModuleDeflatesLikeARealOne)
{
    ArchiveOptions options;
    options.moduleBytes = 2 * 1024 * 1024;
    auto listing = kv::test::listZip (buildFormatArchive (1, options)).value();
    const auto& module = listing.entries.at (0);
    const double ratio = double (module.compressedSize) / module.uncompressedSize;
    EXPECT_GT (ratio, 0.50);
    EXPECT_LT (ratio, 0.65);
}

TEST_F (PayloadArchives, IsReproducible)
{
    ArchiveOptions options;
    options.moduleBytes = smallModuleBytes;
    EXPECT_EQ (buildFormatArchive (0, options), archives[0]);
}

//==============================================================================
TEST (ProductArchiveFiles, WritesThreeArchivesWithProportionalModules)
{
    kv::test::TempFolder temp;
    const auto folder = (temp / "out" / "payload").string();
    const auto written = writeProductArchives (folder, 400000);
    ASSERT_EQ (written.size(), 3u);

    const char* names[] = { "vst3.zip", "clap.zip", "aax.zip" };
    const uint64_t moduleSizes[] = { 400000, 391946, 394986 }; // 17,621,288 : 17,266,472 : 17,400,416

    for (size_t i = 0; i < 3; ++i)
    {
        const auto bytes = kv::test::readFileBytes (temp / "out" / "payload" / names[i]);
        EXPECT_EQ (bytes.size(), written[i].bytes);

        auto listing = kv::test::listZip (bytes);
        ASSERT_TRUE (listing.has_value()) << names[i];
        EXPECT_EQ (listing->entries.back().uncompressedSize, moduleSizes[i]) << names[i];
    }

    EXPECT_FALSE (std::filesystem::exists (temp / "out" / "payload" / "vst3.zip.partial"));
}

TEST (ProductArchiveFiles, DefaultModuleSizesMatchTheRealProduct)
{
    EXPECT_EQ (formatLayout (0).defaultModuleBytes, 17621288u);
    EXPECT_EQ (formatLayout (1).defaultModuleBytes, 17266472u);
    EXPECT_EQ (formatLayout (2).defaultModuleBytes, 17400416u);

    for (int i = 0; i < formatCount; ++i)
        EXPECT_EQ (scaledModuleBytes (i, 17621288), formatLayout (i).defaultModuleBytes);

    EXPECT_THROW (formatLayout (3), std::out_of_range);
}

TEST (ProductArchiveFiles, InfoZipListsAndVerifiesEveryArchive)
{
    if (! kv::test::commandExists ("unzip"))
        GTEST_SKIP() << "Info-ZIP unzip is not installed";

    kv::test::TempFolder temp;
    writeProductArchives (temp.path.string(), smallModuleBytes);
    const char* names[] = { "vst3.zip", "clap.zip", "aax.zip" };

    for (int i = 0; i < formatCount; ++i)
    {
        const auto archive = (temp / names[i]).string();
        EXPECT_EQ (kv::test::runCommand ("unzip -t '" + archive + "'"), 0) << names[i];

        const auto listingFile = temp / (std::string (names[i]) + ".txt");
        ASSERT_EQ (kv::test::runCommand ("unzip -Z1 '" + archive + "'", listingFile), 0);
        std::string expected;

        for (auto& e : expectedEntries[i])
            expected += std::string (e.name) + "\n";

        EXPECT_EQ (kv::test::readText (listingFile), expected) << names[i];
    }
}
