#include "pe/PeVersionReader.h"
#include "tests/support/TempFolder.h"
#include "tools/payload/PeModuleWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>

using kv::payload::Bytes;
using kv::payload::ModuleImage;
using kv::payload::putU16;
using kv::payload::putU32;
using kv::pe::readPeFileVersion;

namespace
{
    ModuleImage validImage()
    {
        kv::payload::ModuleOptions options;
        options.fileBytes = 6000;
        return kv::payload::buildModuleImage (options);
    }

    uint32_t rsrcEntryOffset (const ModuleImage& image, uint32_t directoryOffset)
    {
        return image.resourceSectionOffset + directoryOffset + 16 + 4; // first entry's OffsetToData
    }

    uint32_t readU32 (const Bytes& b, size_t at)
    {
        return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t (b[at + 3]) << 24);
    }

    struct MalformedCase
    {
        const char* name;
        std::function<Bytes()> make;
    };

    // Each is a valid module with one thing broken, or something that was never a module.
    const MalformedCase malformedCases[] {
        { "empty file", []
          { return Bytes {}; } },
        { "MZ only", []
          { return Bytes { 'M', 'Z' }; } },
        { "DOS header only", []
          { auto b = validImage().bytes; b.resize (64); return b; } },
        { "e_lfanew past the end", []
          { auto b = validImage().bytes; putU32 (b, 0x3C, 0xFFFFFFF0); return b; } },
        { "e_lfanew at the last bytes", []
          { auto b = validImage().bytes; putU32 (b, 0x3C, uint32_t (b.size() - 2)); return b; } },
        { "PE signature missing", []
          { auto i = validImage(); i.bytes[i.peHeaderOffset] = 'X'; return i.bytes; } },
        { "no sections", []
          { auto i = validImage(); putU16 (i.bytes, i.peHeaderOffset + 6, 0); return i.bytes; } },
        { "too many sections", []
          { auto i = validImage(); putU16 (i.bytes, i.peHeaderOffset + 6, 0xFFFF); return i.bytes; } },
        { "unknown optional header magic", []
          { auto i = validImage(); putU16 (i.bytes, i.optionalHeaderOffset, 0x107); return i.bytes; } },
        { "optional header too short for directories",
          []
          { auto i = validImage(); putU16 (i.bytes, i.peHeaderOffset + 20, 100); return i.bytes; } },
        { "only two data directories",
          []
          { auto i = validImage(); putU32 (i.bytes, i.optionalHeaderOffset + 108, 2); return i.bytes; } },
        { "section table past the end",
          []
          { auto i = validImage(); putU16 (i.bytes, i.peHeaderOffset + 20, 0xFFF0); return i.bytes; } },
        { "resource section data past the end",
          []
          { auto i = validImage(); putU32 (i.bytes, i.sectionTableOffset + 2 * 40 + 20, 0x7FFFFE00); return i.bytes; } },
        { "resource section raw size past the end",
          []
          { auto i = validImage(); putU32 (i.bytes, i.sectionTableOffset + 2 * 40 + 16, 0x10000000); return i.bytes; } },
        { "resource directory RVA in no section",
          []
          { auto i = validImage(); putU32 (i.bytes, i.optionalHeaderOffset + 112 + 16, 0x00F00000); return i.bytes; } },
        { "type entry points back at the root",
          []
          { auto i = validImage(); putU32 (i.bytes, rsrcEntryOffset (i, 0), 0x80000000); return i.bytes; } },
        { "name entry points back at the root",
          []
          {
              auto i = validImage();
              const auto names = readU32 (i.bytes, rsrcEntryOffset (i, 0)) & 0x7FFFFFFF;
              putU32 (i.bytes, rsrcEntryOffset (i, names), 0x80000000);
              return i.bytes;
          } },
        { "language entry is a subdirectory",
          []
          {
              auto i = validImage();
              const auto names = readU32 (i.bytes, rsrcEntryOffset (i, 0)) & 0x7FFFFFFF;
              const auto languages = readU32 (i.bytes, rsrcEntryOffset (i, names)) & 0x7FFFFFFF;
              putU32 (i.bytes, rsrcEntryOffset (i, languages), 0x80000000 | languages);
              return i.bytes;
          } },
        { "type entry is a data entry", []
          { auto i = validImage(); putU32 (i.bytes, rsrcEntryOffset (i, 0), 0x48); return i.bytes; } },
        { "huge named entry count", []
          { auto i = validImage(); putU16 (i.bytes, i.resourceSectionOffset + 12, 0xFFFF); return i.bytes; } },
        { "huge id entry count", []
          { auto i = validImage(); putU16 (i.bytes, i.resourceSectionOffset + 14, 0xFFFF); return i.bytes; } },
        { "huge counts on the name level",
          []
          {
              auto i = validImage();
              const auto names = readU32 (i.bytes, rsrcEntryOffset (i, 0)) & 0x7FFFFFFF;
              putU16 (i.bytes, i.resourceSectionOffset + names + 12, 0xFFFF);
              putU16 (i.bytes, i.resourceSectionOffset + names + 14, 0xFFFF);
              return i.bytes;
          } },
        { "no version type", []
          { auto i = validImage(); putU32 (i.bytes, i.resourceSectionOffset + 16, 17); return i.bytes; } },
        { "wrong fixed info signature", []
          { auto i = validImage(); putU32 (i.bytes, i.versionBlockOffset + 40, 0xFEEF04BE); return i.bytes; } },
        { "wrong version key", []
          { auto i = validImage(); i.bytes[i.versionBlockOffset + 6] = 'W'; return i.bytes; } },
        { "no fixed info value", []
          { auto i = validImage(); putU16 (i.bytes, i.versionBlockOffset + 2, 0); return i.bytes; } },
        { "version block length too short", []
          { auto i = validImage(); putU16 (i.bytes, i.versionBlockOffset, 60); return i.bytes; } },
        { "version data entry too small",
          []
          {
              auto i = validImage();
              for (uint32_t at = i.resourceSectionOffset; at < i.versionBlockOffset; at += 4)
                  if (readU32 (i.bytes, at) == i.versionBlockSize)
                      putU32 (i.bytes, at, 20);
              return i.bytes;
          } },
        { "ELF header", []
          { return Bytes { 0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0x3E, 0 }; } },
    };

    class PeMalformedInput : public ::testing::TestWithParam<MalformedCase>
    {
    };
}

TEST_P (PeMalformedInput, HasNoVersion)
{
    const auto bytes = GetParam().make();
    kv::pe::MemoryByteSource source (bytes.data(), bytes.size());
    EXPECT_EQ (readPeFileVersion (source), "");

    kv::test::TempFolder temp;
    EXPECT_EQ (readPeFileVersion (temp.write ("module.dll", bytes)), "");
}

namespace
{
    std::string caseName (const ::testing::TestParamInfo<MalformedCase>& testCase)
    {
        std::string name;

        for (auto* c = testCase.param.name; *c != 0; ++c)
            name += std::isalnum (static_cast<unsigned char> (*c)) ? *c : '_';

        return name;
    }
}

INSTANTIATE_TEST_SUITE_P (Cases, PeMalformedInput, ::testing::ValuesIn (malformedCases), caseName);

TEST (PeMalformedPaths, FoldersMissingFilesAndNonPeFilesHaveNoVersion)
{
    kv::test::TempFolder temp;
    EXPECT_EQ (readPeFileVersion (temp.path.string()), "");
    EXPECT_EQ (readPeFileVersion ((temp / "missing.dll").string()), "");
    EXPECT_EQ (readPeFileVersion (""), "");

    if (std::filesystem::is_regular_file ("/bin/ls"))
    {
        EXPECT_EQ (readPeFileVersion ("/bin/ls"), "");
    }
}

TEST (PeMalformedTruncation, EveryCutOfAValidModuleHasNoVersion)
{
    const auto image = validImage();
    const auto& whole = image.bytes;
    kv::pe::MemoryByteSource complete (whole.data(), whole.size());
    ASSERT_EQ (readPeFileVersion (complete), "2.3.0.0");

    const auto rsrcRawSize = readU32 (whole, image.sectionTableOffset + 2 * 40 + 16);
    const auto imageEnd = image.resourceSectionOffset + rsrcRawSize;
    ASSERT_LT (imageEnd, whole.size()) << "the module should carry trailing data, as a signed one does";

    for (size_t cut = 0; cut < whole.size(); cut += 97)
    {
        kv::pe::MemoryByteSource source (whole.data(), cut);

        // Trailing data past the last section is not part of the image; losing it is harmless.
        EXPECT_EQ (readPeFileVersion (source), cut < imageEnd ? "" : "2.3.0.0") << "cut at " << cut;
    }
}

// Any single corrupted byte in the parts the reader walks must give an answer, never a crash.
TEST (PeMalformedCorruption, SingleByteCorruptionsAreSurvived)
{
    const auto image = validImage();
    const auto interesting = [&] (size_t at)
    {
        return at < image.sectionTableOffset + 40u * image.sectionCount || at >= image.resourceSectionOffset;
    };

    size_t stillRead = 0;

    for (size_t at = 0; at < image.bytes.size(); ++at)
    {
        if (! interesting (at))
            continue;

        for (uint8_t value : { uint8_t (0x00), uint8_t (0xFF), uint8_t (image.bytes[at] ^ 0x80) })
        {
            auto bytes = image.bytes;
            bytes[at] = value;
            kv::pe::MemoryByteSource source (bytes.data(), bytes.size());
            const auto version = readPeFileVersion (source);
            EXPECT_TRUE (version.empty() || std::count (version.begin(), version.end(), '.') == 3) << version;
            stillRead += version.empty() ? 0 : 1;
        }
    }

    EXPECT_GT (stillRead, 0u) << "bytes the reader ignores must not matter";
}
