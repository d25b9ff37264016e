#include "tests/tools/payload/ZipTestReader.h"
#include "tools/payload/IcoWriter.h"

#include <gtest/gtest.h>

using kv::test::le16;
using kv::test::le32;

namespace
{
    uint32_t be32 (const kv::test::Bytes& b, size_t at)
    {
        return (uint32_t (b.at (at)) << 24) | (uint32_t (b.at (at + 1)) << 16) | (uint32_t (b.at (at + 2)) << 8) | b.at (at + 3);
    }

    struct IconImage
    {
        uint32_t side;
        kv::test::Bytes bytes;
    };

    std::vector<IconImage> splitIcon (const kv::test::Bytes& ico)
    {
        std::vector<IconImage> images;

        for (uint32_t i = 0; i < le16 (ico, 4); ++i)
        {
            const size_t entry = 6 + 16 * i;
            const auto side = ico.at (entry) == 0 ? 256u : ico.at (entry);
            const auto size = le32 (ico, entry + 8);
            const auto offset = le32 (ico, entry + 12);
            EXPECT_LE (size_t (offset) + size, ico.size());
            images.push_back ({ side, { ico.begin() + offset, ico.begin() + offset + size } });
        }

        return images;
    }
}

TEST (PluginIcon, HasFourImagesOfTheExpectedSizesBackToBack)
{
    const auto ico = kv::payload::makePluginIcon();
    ASSERT_GT (ico.size(), 6u + 4 * 16);
    EXPECT_EQ (le16 (ico, 0), 0u);
    EXPECT_EQ (le16 (ico, 2), 1u) << "icon, not cursor";
    ASSERT_EQ (le16 (ico, 4), 4u);

    size_t expectedOffset = 6 + 4 * 16;
    const uint32_t sides[] = { 16, 32, 48, 256 };

    for (uint32_t i = 0; i < 4; ++i)
    {
        const size_t entry = 6 + 16 * i;
        EXPECT_EQ (ico[entry] == 0 ? 256u : ico[entry], sides[i]);
        EXPECT_EQ (ico[entry + 1], ico[entry]) << "square";
        EXPECT_EQ (le16 (ico, entry + 6), 32u) << "32 bits per pixel";
        EXPECT_EQ (le32 (ico, entry + 12), expectedOffset);
        expectedOffset += le32 (ico, entry + 8);
    }

    EXPECT_EQ (expectedOffset, ico.size());
    EXPECT_GT (ico.size(), 10u * 1024);
    EXPECT_LT (ico.size(), 48u * 1024);
}

TEST (PluginIcon, SmallImagesAreBmpsWithColourAndMask)
{
    const auto images = splitIcon (kv::payload::makePluginIcon());
    ASSERT_EQ (images.size(), 4u);

    for (size_t i = 0; i < 3; ++i)
    {
        const auto side = images[i].side;
        const auto& bmp = images[i].bytes;
        SCOPED_TRACE (side);
        const uint32_t maskRow = (side + 31) / 32 * 4;
        EXPECT_EQ (le32 (bmp, 0), 40u);
        EXPECT_EQ (le32 (bmp, 4), side);
        EXPECT_EQ (le32 (bmp, 8), side * 2) << "height covers colour and mask";
        EXPECT_EQ (le16 (bmp, 12), 1u);
        EXPECT_EQ (le16 (bmp, 14), 32u);
        EXPECT_EQ (le32 (bmp, 16), 0u) << "uncompressed";
        EXPECT_EQ (bmp.size(), 40 + side * side * 4 + maskRow * side);

        // The corners are transparent, the centre opaque, and the mask agrees.
        const auto pixelAlpha = [&] (uint32_t x, uint32_t rowFromBottom)
        { return bmp[40 + (rowFromBottom * side + x) * 4 + 3]; };
        const auto maskBit = [&] (uint32_t x, uint32_t rowFromBottom)
        {
            return (bmp[40 + side * side * 4 + rowFromBottom * maskRow + x / 8] >> (7 - x % 8)) & 1;
        };

        EXPECT_EQ (pixelAlpha (0, 0), 0);
        EXPECT_EQ (maskBit (0, 0), 1);
        EXPECT_EQ (pixelAlpha (side / 2, side / 2), 255);
        EXPECT_EQ (maskBit (side / 2, side / 2), 0);
    }
}

TEST (PluginIcon, LargeImageIsAValidRgbaPng)
{
    const auto png = splitIcon (kv::payload::makePluginIcon()).at (3).bytes;
    const kv::test::Bytes signature { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    ASSERT_TRUE (std::equal (signature.begin(), signature.end(), png.begin()));

    std::vector<std::string> chunkTypes;
    kv::test::Bytes idat;
    size_t at = 8;

    while (at + 12 <= png.size())
    {
        const auto length = be32 (png, at);
        const std::string type (png.begin() + long (at + 4), png.begin() + long (at + 8));
        ASSERT_LE (at + 12 + length, png.size());

        const auto crc = crc32 (0, png.data() + at + 4, length + 4);
        EXPECT_EQ (be32 (png, at + 8 + length), crc) << type;

        if (type == "IHDR")
        {
            EXPECT_EQ (be32 (png, at + 8), 256u);
            EXPECT_EQ (be32 (png, at + 12), 256u);
            EXPECT_EQ (png[at + 16], 8) << "bit depth";
            EXPECT_EQ (png[at + 17], 6) << "RGBA";
            EXPECT_EQ (png[at + 20], 0) << "not interlaced";
        }
        else if (type == "IDAT")
        {
            idat.insert (idat.end(), png.begin() + long (at + 8), png.begin() + long (at + 8 + length));
        }

        chunkTypes.push_back (type);
        at += 12 + length;
    }

    EXPECT_EQ (at, png.size());
    ASSERT_GE (chunkTypes.size(), 3u);
    EXPECT_EQ (chunkTypes.front(), "IHDR");
    EXPECT_EQ (chunkTypes.back(), "IEND");

    // One filter byte plus 256 RGBA pixels per row.
    kv::test::Bytes raw (256 * (1 + 256 * 4) + 1);
    uLongf rawSize = raw.size();
    ASSERT_EQ (uncompress (raw.data(), &rawSize, idat.data(), idat.size()), Z_OK);
    EXPECT_EQ (rawSize, 256u * (1 + 256 * 4));
}
