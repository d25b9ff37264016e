#include "tests/support/TempFolder.h"
#include "tests/tools/payload/ZipTestReader.h"
#include "tools/payload/ZipWriter.h"

#include <gtest/gtest.h>

using namespace kv::payload;
using kv::test::extractZipEntry;
using kv::test::listZip;

namespace
{
    Bytes sampleText (size_t repeats)
    {
        std::string text;

        for (size_t i = 0; i < repeats; ++i)
            text += "Strandline2 line " + std::to_string (i) + "\r\n";

        return { text.begin(), text.end() };
    }
}

TEST (ZipWriter, WritesDirectoriesStoredAndDeflatedFilesInOrder)
{
    const auto text = sampleText (200);
    ZipWriter zip;
    zip.addDirectory ("Folder\\");
    zip.addFile ("Folder\\stored.txt", text, ZipMethod::stored);
    zip.addFile ("Folder\\deflated.txt", text);
    const auto bytes = zip.toBytes();

    auto listing = listZip (bytes);
    ASSERT_TRUE (listing.has_value());
    ASSERT_EQ (listing->entries.size(), 3u);
    EXPECT_TRUE (listing->comment.empty());

    const char* names[] = { "Folder\\", "Folder\\stored.txt", "Folder\\deflated.txt" };
    const uint32_t methods[] = { 0, 0, 8 };
    const uint32_t attributes[] = { 0x10, 0x20, 0x20 };

    for (size_t i = 0; i < 3; ++i)
    {
        const auto& e = listing->entries[i];
        SCOPED_TRACE (e.name);
        EXPECT_EQ (e.name, names[i]);
        EXPECT_EQ (e.method, methods[i]);
        EXPECT_EQ (e.versionMadeBy >> 8, 0u) << "made on MS-DOS/FAT";
        EXPECT_EQ (e.externalAttributes, attributes[i]);
        EXPECT_EQ (e.flags, 0u) << "no data descriptor";
        EXPECT_EQ (e.extraLength, 0u);

        auto data = extractZipEntry (bytes, e);
        ASSERT_TRUE (data.has_value());
        EXPECT_EQ (*data, i == 0 ? Bytes {} : text);
        EXPECT_EQ (e.crc, kv::test::crcOf (*data));
    }

    EXPECT_LT (listing->entries[2].compressedSize, text.size() / 4) << "repetitive text must actually deflate";
}

TEST (ZipWriter, KeepsHostileNamesByteForByte)
{
    const std::string names[] = { "..\\evil.txt", "C:\\abs.txt", "/abs.txt", "a/b\\c.txt", "caf\xC3\xA9.txt" };
    ZipWriter zip;

    for (auto& name : names)
        zip.addTextFile (name, "x");

    auto listing = listZip (zip.toBytes());
    ASSERT_TRUE (listing.has_value());
    ASSERT_EQ (listing->entries.size(), std::size (names));

    for (size_t i = 0; i < std::size (names); ++i)
        EXPECT_EQ (listing->entries[i].name, names[i]);
}

//==============================================================================
TEST (ZipWriterFaults, RecordsTheWrongCrcAndSizeWhenAsked)
{
    const auto text = sampleText (10);
    ZipWriter zip;
    zip.addFile ("crc.txt", text).faults.recordedCrc = 0x12345678;
    zip.addFile ("size.txt", text).faults.recordedUncompressedSize = 7;
    const auto bytes = zip.toBytes();

    auto listing = listZip (bytes);
    ASSERT_TRUE (listing.has_value());
    EXPECT_EQ (listing->entries[0].crc, 0x12345678u);
    EXPECT_EQ (listing->entries[0].uncompressedSize, text.size());
    EXPECT_EQ (listing->entries[1].crc, kv::test::crcOf (text));
    EXPECT_EQ (listing->entries[1].uncompressedSize, 7u);

    // The wrong CRC still extracts (only a checking extractor notices); the wrong size does not.
    auto data = extractZipEntry (bytes, listing->entries[0]);
    ASSERT_TRUE (data.has_value());
    EXPECT_NE (kv::test::crcOf (*data), listing->entries[0].crc);
    EXPECT_FALSE (extractZipEntry (bytes, listing->entries[1]).has_value());
}

TEST (ZipWriterFaults, MarksUnixSymlinks)
{
    ZipWriter zip;
    zip.addSymlink ("Strandline2.vst3\\link", "../../../etc/passwd");
    const auto bytes = zip.toBytes();

    auto listing = listZip (bytes);
    ASSERT_TRUE (listing.has_value());
    const auto& e = listing->entries.at (0);
    EXPECT_EQ (e.versionMadeBy >> 8, 3u) << "made on Unix";
    EXPECT_EQ (e.externalAttributes >> 16, 0120777u);
    EXPECT_EQ (e.method, 0u);

    auto data = extractZipEntry (bytes, e);
    ASSERT_TRUE (data.has_value());
    EXPECT_EQ (std::string (data->begin(), data->end()), "../../../etc/passwd");
}

TEST (ZipWriterFaults, TruncatedDataNoLongerInflates)
{
    ZipWriter zip;
    zip.addFile ("cut.txt", sampleText (500)).faults.truncateDataAt = 40;
    const auto bytes = zip.toBytes();

    auto listing = listZip (bytes);
    ASSERT_TRUE (listing.has_value());
    EXPECT_EQ (listing->entries[0].compressedSize, 40u);
    EXPECT_FALSE (extractZipEntry (bytes, listing->entries[0]).has_value());
}

TEST (ZipWriterFaults, CommentAndArchiveTruncation)
{
    ZipWriter zip;
    zip.addTextFile ("a.txt", "hello");
    zip.setComment ("made by a test");
    const auto whole = zip.toBytes();

    auto listing = listZip (whole);
    ASSERT_TRUE (listing.has_value());
    EXPECT_EQ (listing->comment, "made by a test");

    zip.truncateArchiveAt (whole.size() - 30);
    const auto cut = zip.toBytes();
    EXPECT_EQ (cut.size(), whole.size() - 30);
    EXPECT_TRUE (std::equal (cut.begin(), cut.end(), whole.begin()));
    EXPECT_FALSE (listZip (cut).has_value());
}

//==============================================================================
// Info-ZIP is an independent reader: what it accepts and rejects must match our intent.
TEST (ZipWriterInfoZip, AcceptsGoodArchivesAndSpotsEachFault)
{
    if (! kv::test::commandExists ("unzip"))
        GTEST_SKIP() << "Info-ZIP unzip is not installed";

    kv::test::TempFolder temp;
    const auto text = sampleText (300);

    auto unzipTest = [&] (const ZipWriter& zip, const std::string& name)
    {
        const auto path = temp.write (name, zip.toBytes());
        return kv::test::runCommand ("unzip -t '" + path + "'");
    };

    ZipWriter good;
    good.addDirectory ("Dir\\");
    good.addFile ("Dir\\stored.bin", text, ZipMethod::stored);
    good.addFile ("Dir\\deflated.bin", text);
    EXPECT_EQ (unzipTest (good, "good.zip"), 0);

    ZipWriter badCrc;
    badCrc.addFile ("a.bin", text).faults.recordedCrc = 0;
    EXPECT_NE (unzipTest (badCrc, "crc.zip"), 0);

    ZipWriter badData;
    badData.addFile ("a.bin", text).faults.truncateDataAt = 25;
    EXPECT_NE (unzipTest (badData, "data.zip"), 0);

    ZipWriter cut;
    cut.addFile ("a.bin", text);
    cut.truncateArchiveAt (100);
    EXPECT_NE (unzipTest (cut, "cut.zip"), 0);
}
