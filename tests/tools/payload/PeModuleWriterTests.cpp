#include "tests/support/TempFolder.h"
#include "tests/tools/payload/ZipTestReader.h"
#include "tools/payload/PeModuleWriter.h"

#include <gtest/gtest.h>

#include <map>

using namespace kv::payload;
using kv::test::le16;
using kv::test::le32;

namespace
{
    struct SectionHeader
    {
        std::string name;
        uint32_t virtualSize, rva, rawSize, rawOffset;
    };

    std::vector<SectionHeader> sectionsOf (const ModuleImage& image)
    {
        std::vector<SectionHeader> sections;

        for (uint32_t i = 0; i < image.sectionCount; ++i)
        {
            const auto at = image.sectionTableOffset + 40 * i;
            std::string name (image.bytes.begin() + at, image.bytes.begin() + at + 8);
            name.resize (name.find ('\0') == std::string::npos ? 8 : name.find ('\0'));
            sections.push_back ({ name, le32 (image.bytes, at + 8), le32 (image.bytes, at + 12),
                                  le32 (image.bytes, at + 16), le32 (image.bytes, at + 20) });
        }

        return sections;
    }

    std::string utf16At (const Bytes& b, size_t& at, size_t end)
    {
        std::string text;

        while (at + 2 <= end)
        {
            const auto c = le16 (b, at);
            at += 2;

            if (c == 0)
                return text;

            text += static_cast<char> (c);
        }

        ADD_FAILURE() << "unterminated UTF-16 string";
        return text;
    }

    /** Walks a version tree as Windows does, checking every length stays inside its parent, and
    collects "path" -> value for text leaves. */
    void walkVersionNode (const Bytes& b, size_t at, size_t parentEnd, const std::string& path,
                          std::map<std::string, std::string>& strings, int depth = 0)
    {
        ASSERT_LT (depth, 6);
        ASSERT_EQ (at % 4, 0u) << path << " must start on a 32-bit boundary";
        const auto length = le16 (b, at);
        const auto valueLength = le16 (b, at + 2);
        const auto type = le16 (b, at + 4);
        const auto end = at + length;
        ASSERT_LE (end, parentEnd) << path;

        size_t cursor = at + 6;
        const auto key = utf16At (b, cursor, end);
        cursor = (cursor + 3) & ~size_t (3);
        const auto valueBytes = type == 1 ? valueLength * 2u : valueLength;
        ASSERT_LE (cursor + valueBytes, end) << path << "/" << key;

        if (type == 1 && valueLength > 0)
        {
            auto valueCursor = cursor;
            strings[path + "/" + key] = utf16At (b, valueCursor, cursor + valueBytes);
        }

        if (path.empty())
        {
            ASSERT_EQ (key, "VS_VERSION_INFO");
            ASSERT_EQ (valueLength, 52u);
            ASSERT_EQ (cursor - at, 40u);
        }

        cursor = (cursor + valueBytes + 3) & ~size_t (3);

        while (cursor < end)
        {
            walkVersionNode (b, cursor, end, path + "/" + key, strings, depth + 1);
            cursor = (cursor + le16 (b, cursor) + 3) & ~size_t (3);
        }
    }
}

TEST (PeModuleWriter, HonoursTheRequestedFileSizeExactly)
{
    for (uint64_t size : { 17621288ull, 300000ull, 65536ull, 8193ull })
        EXPECT_EQ (makeModule ({ ModuleVersion {}, size }).size(), size);

    const auto smallest = makeModule ({});
    EXPECT_LT (smallest.size(), 8192u);
    EXPECT_EQ (makeModule ({ ModuleVersion {}, 100 }).size(), smallest.size()) << "cannot shrink below the minimum";
}

TEST (PeModuleWriter, SectionsAreAlignedAndInsideTheFileAndImage)
{
    for (auto kind : { PeKind::pe32Plus, PeKind::pe32 })
    {
        ModuleOptions options;
        options.fileBytes = 100000;
        options.kind = kind;
        const auto image = buildModuleImage (options);
        const auto& b = image.bytes;
        const auto opt = image.optionalHeaderOffset;
        const bool plus = kind == PeKind::pe32Plus;

        EXPECT_EQ (le16 (b, image.peHeaderOffset + 4), plus ? 0x8664u : 0x14Cu);
        EXPECT_EQ (le16 (b, opt), plus ? 0x20Bu : 0x10Bu);
        EXPECT_EQ (le32 (b, opt + 32), 0x1000u) << "section alignment";
        EXPECT_EQ (le32 (b, opt + 36), 0x200u) << "file alignment";

        const auto sizeOfImage = le32 (b, opt + 56);
        const auto sizeOfHeaders = le32 (b, opt + 60);
        EXPECT_EQ (sizeOfHeaders % 0x200, 0u);
        EXPECT_GE (sizeOfHeaders, image.sectionTableOffset + 40u * image.sectionCount);

        const auto sections = sectionsOf (image);
        ASSERT_EQ (sections.size(), 3u);
        EXPECT_EQ (sections[0].name, ".text");
        EXPECT_EQ (sections[2].name, ".rsrc");
        uint32_t previousRvaEnd = 0x1000, previousRawEnd = sizeOfHeaders;

        for (auto& s : sections)
        {
            SCOPED_TRACE (s.name);
            EXPECT_EQ (s.rva, previousRvaEnd);
            EXPECT_EQ (s.rawOffset, previousRawEnd);
            EXPECT_EQ (s.rawSize % 0x200, 0u);
            EXPECT_LE (s.virtualSize, s.rawSize);
            EXPECT_LE (s.rawOffset + s.rawSize, b.size());
            previousRvaEnd = (s.rva + s.virtualSize + 0xFFF) & ~0xFFFu;
            previousRawEnd = s.rawOffset + s.rawSize;
        }

        EXPECT_EQ (sizeOfImage, previousRvaEnd);
        EXPECT_EQ (le32 (b, opt + 16), sections[0].rva) << "entry point at the stub";

        const auto directories = opt + (plus ? 112 : 96);
        EXPECT_EQ (le32 (b, directories + 16), sections[2].rva) << "resource directory is .rsrc";
        EXPECT_EQ (le32 (b, directories + 20), sections[2].virtualSize);
    }
}

TEST (PeModuleWriter, VersionResourceIsAWellFormedTree)
{
    ModuleOptions options;
    options.version = ModuleVersion { 2, 10, 7, 65535 };
    const auto image = buildModuleImage (options);
    const auto& b = image.bytes;
    ASSERT_NE (image.versionBlockOffset, 0u);

    // Root -> type 16 -> name 1 -> language 0x409 -> data entry, found by hand.
    const auto rsrc = image.resourceSectionOffset;
    ASSERT_EQ (le16 (b, rsrc + 14), 1u);
    EXPECT_EQ (le32 (b, rsrc + 16), 16u);
    const auto names = rsrc + (le32 (b, rsrc + 20) & 0x7FFFFFFF);
    EXPECT_EQ (le32 (b, names + 16), 1u);
    const auto languages = rsrc + (le32 (b, names + 20) & 0x7FFFFFFF);
    EXPECT_EQ (le32 (b, languages + 16), 0x409u);
    const auto leaf = le32 (b, languages + 20);
    ASSERT_EQ (leaf & 0x80000000, 0u);
    const auto dataRva = le32 (b, rsrc + leaf);
    EXPECT_EQ (rsrc + (dataRva - image.resourceSectionRva), image.versionBlockOffset) << "the data entry holds an RVA";
    EXPECT_EQ (le32 (b, rsrc + leaf + 4), image.versionBlockSize);

    const auto block = image.versionBlockOffset;
    EXPECT_EQ (le16 (b, block), image.versionBlockSize);
    EXPECT_EQ (le32 (b, block + 40), 0xFEEF04BDu);
    EXPECT_EQ (le32 (b, block + 44), 0x00010000u);
    EXPECT_EQ (le32 (b, block + 48), (2u << 16) | 10u) << "file version";
    EXPECT_EQ (le32 (b, block + 52), (7u << 16) | 65535u);
    EXPECT_EQ (le32 (b, block + 56), (2u << 16) | 10u) << "product version";
    EXPECT_EQ (le32 (b, block + 72), 0x00040004u) << "VOS_NT_WINDOWS32";
    EXPECT_EQ (le32 (b, block + 76), 2u) << "VFT_DLL";

    std::map<std::string, std::string> strings;
    walkVersionNode (b, block, block + image.versionBlockSize, "", strings);

    const std::string table = "/VS_VERSION_INFO/StringFileInfo/040904B0/";
    EXPECT_EQ (strings[table + "CompanyName"], "Korvane");
    EXPECT_EQ (strings[table + "FileDescription"], "Strandline2");
    EXPECT_EQ (strings[table + "FileVersion"], "2.10.7.65535");
    EXPECT_EQ (strings[table + "ProductName"], "Strandline2");
    EXPECT_EQ (strings[table + "ProductVersion"], "2.10.7.65535");
}

TEST (PeModuleWriter, WithoutVersionThereIsNoResourceSection)
{
    ModuleOptions options;
    options.version.reset();
    const auto image = buildModuleImage (options);
    EXPECT_EQ (image.sectionCount, 2u);
    EXPECT_EQ (image.resourceSectionOffset, 0u);
    EXPECT_EQ (le32 (image.bytes, image.optionalHeaderOffset + 112 + 16), 0u);
}

TEST (PeModuleWriter, ExtraResourcesAreSortedByType)
{
    ModuleOptions options;
    options.extraResources.push_back ({ 24, 2, 0x409, Bytes (300, 'm') });
    options.extraResources.push_back ({ 3, 1, 0x409, Bytes (100, 'i') });
    const auto image = buildModuleImage (options);
    const auto rsrc = image.resourceSectionOffset;

    ASSERT_EQ (le16 (image.bytes, rsrc + 14), 3u);
    EXPECT_EQ (le32 (image.bytes, rsrc + 16), 3u);
    EXPECT_EQ (le32 (image.bytes, rsrc + 24), 16u);
    EXPECT_EQ (le32 (image.bytes, rsrc + 32), 24u);
    EXPECT_EQ (le32 (image.bytes, image.versionBlockOffset + 40), 0xFEEF04BDu);
}

// llvm-readobj parses PE headers and resource trees independently of us.
TEST (PeModuleWriter, LlvmReadobjAgreesWithTheLayout)
{
    if (! kv::test::commandExists ("llvm-readobj"))
        GTEST_SKIP() << "llvm-readobj is not installed";

    kv::test::TempFolder temp;
    const auto path = temp.write ("Strandline2.dll", makeModule ({ ModuleVersion {}, 150000 }));
    const auto report = temp / "report.txt";
    ASSERT_EQ (kv::test::runCommand ("llvm-readobj --file-headers --coff-resources '" + path + "'", report), 0);
    const auto text = kv::test::readText (report);

    for (auto* expected : { "IMAGE_FILE_MACHINE_AMD64", "IMAGE_FILE_DLL", "Magic: 0x20B", "VERSIONINFO (ID 16)",
                            "Name: (ID 1)", "Language: (ID 1033)" })
        EXPECT_NE (text.find (expected), std::string::npos) << expected << "\n"
                                                            << text;

    EXPECT_EQ (text.find ("warning"), std::string::npos) << text;
}
