#include <gtest/gtest.h>

#include <functional>

#include "archive/Archive.h"
#include "identity/Formats.h"
#include "messages/ArchiveWords.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "tools/payload/PayloadBuilder.h"
#include "tools/payload/ZipWriter.h"

using namespace kv::archive;
using kv::messages::archiveReason;
using kv::messages::describeForMaker;

namespace
{
    constexpr juce::uint64 mebibyte = 1024 * 1024;
    constexpr juce::uint64 gibibyte = 1024 * mebibyte;

    ZipRecord recordOf (const char* name, juce::uint16 method, juce::uint64 compressed, juce::uint64 uncompressed)
    {
        ZipRecord record;
        record.name = name;
        record.method = method;
        record.compressedSize = compressed;
        record.uncompressedSize = uncompressed;
        return record;
    }

    // Fields of a one-entry archive, as its writer laid it out: the local header at 0, then the
    // data, the central record, and the end record at the very end.
    using kv::payload::Bytes;

    juce::uint32 get32 (const Bytes& b, size_t at) { return (juce::uint32) (b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | ((juce::uint32) b[at + 3] << 24)); }
    void put16 (Bytes& b, size_t at, juce::uint32 v) { b[at] = (uint8_t) v, b[at + 1] = (uint8_t) (v >> 8); }
    void put32 (Bytes& b, size_t at, juce::uint32 v) { put16 (b, at, v), put16 (b, at + 2, v >> 16); }
    size_t endRecord (const Bytes& b) { return b.size() - 22; }
    size_t centralRecord (const Bytes& b) { return get32 (b, endRecord (b) + 16); }

    // As a streaming writer leaves the entry: flag bit 3, zeros in the local header, and the
    // CRC-32 and sizes in a data descriptor after the data.
    void moveSumsToDescriptor (Bytes& b, juce::uint32 descriptorCrc)
    {
        const auto dataEnd = 30 + (size_t) (b[26] | (b[27] << 8)) + (size_t) (b[28] | (b[29] << 8)) + get32 (b, 18);
        Bytes descriptor (16);
        put32 (descriptor, 0, 0x08074b50);
        put32 (descriptor, 4, descriptorCrc);
        put32 (descriptor, 8, get32 (b, 18));
        put32 (descriptor, 12, get32 (b, 22));

        for (size_t at : { (size_t) 6, centralRecord (b) + 8 })
            b[at] |= 8;
        for (size_t at = 14; at < 26; ++at)
            b[at] = 0;

        const auto directory = (juce::uint32) (centralRecord (b) + descriptor.size());
        b.insert (b.begin() + (std::ptrdiff_t) dataEnd, descriptor.begin(), descriptor.end());
        put32 (b, endRecord (b) + 16, directory);
    }
}

// Each entry is inflated into a block of its recorded size, so a size its data cannot give
// is refused, naming the entry, before any block is asked for.
TEST (ArchiveCheck, RecordedSizesTheDataCannotGiveAreRefusedBeforeAnythingIsInflated)
{
    using kv::payload::ZipMethod;

    struct Case
    {
        const char* what;
        ZipMethod method;
        juce::uint32 recordedSize;
    };

    const Case cases[] = {
        { "deflated, more than deflate can expand to", ZipMethod::deflated, 0xfff00000 },
        { "stored, larger than its data", ZipMethod::stored, 6000 },
        { "stored, smaller than its data", ZipMethod::stored, 4000 },
    };

    for (const auto& c : cases)
    {
        kv::payload::ZipWriter writer;
        writer.addFile ("Strandline2.clap", kv::payload::Bytes (5000, 7), c.method).faults.recordedUncompressedSize = c.recordedSize;
        const auto bytes = writer.toBytes();

        std::vector<ZipRecord> records;
        ArchivePlan plan;
        const auto check = checkArchiveLayout (bytes.data(), bytes.size(), "Strandline2.clap", records, plan);

        EXPECT_EQ (check.verdict, ArchiveVerdict::damaged) << c.what;
        EXPECT_EQ (check.entry, "Strandline2.clap") << c.what;
        EXPECT_TRUE (archiveReason (check.finding).contains ("recorded size")) << c.what << ": " << archiveReason (check.finding);
    }
}

// The memory a pass needs at once: the archive's copy, the largest deflated entry's block and
// 16 MiB. More than the machine has is refused, naming that entry; stored entries need no block.
TEST (ArchiveCheck, AnArchiveIsRefusedWhenUnpackingItNeedsMoreMemoryThanTheMachineHas)
{
    struct Case
    {
        const char* what;
        std::vector<ZipRecord> records;
        juce::uint64 archiveSize;
        juce::uint64 machineBytes;
        juce::uint64 need;
        const char* refusedEntry; // nullptr: passes
    };

    const auto module = recordOf ("B.vst3/Contents/x86_64-win/B.vst3", 8, 10 * mebibyte, 17 * mebibyte);
    const auto icon = recordOf ("B.vst3/Plugin.ico", 8, 13000, 25000);
    const auto hugeModule = recordOf ("B.vst3/Contents/x86_64-win/B.vst3", 8, 1536 * mebibyte, 3 * gibibyte);
    const auto hugeStored = recordOf ("B.vst3/Contents/Resources/samples.bin", 0, 3 * gibibyte, 3 * gibibyte);
    const auto folder = recordOf ("B.vst3/", 0, 0, 0);

    const Case cases[] = {
        { "a plug-in of today", { folder, module, icon }, 10 * mebibyte, 24 * gibibyte, 43 * mebibyte, nullptr },
        { "a 3 GiB module on a 4 GiB machine", { icon, hugeModule, folder }, 1536 * mebibyte + 20000, 4 * gibibyte, 4608 * mebibyte + 16 * mebibyte + 20000, "B.vst3/Contents/x86_64-win/B.vst3" },
        { "the same module on a 24 GiB machine", { icon, hugeModule }, 1536 * mebibyte + 20000, 24 * gibibyte, 4608 * mebibyte + 16 * mebibyte + 20000, nullptr },
        { "a 3 GiB stored file is written from the archive", { hugeStored, module }, 3 * gibibyte + 10 * mebibyte, 4 * gibibyte, 3 * gibibyte + 43 * mebibyte, nullptr },
        { "an unknown machine size refuses nothing", { hugeModule }, 1536 * mebibyte, 0, 4624 * mebibyte, nullptr },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (memoryToUnpack (c.records, (size_t) c.archiveSize), c.need) << c.what;

        const auto check = checkMemoryToUnpack (c.records, (size_t) c.archiveSize, c.machineBytes);

        if (c.refusedEntry == nullptr)
        {
            EXPECT_TRUE (check.passed()) << c.what << ": " << archiveReason (check.finding);
            continue;
        }

        EXPECT_EQ (check.verdict, ArchiveVerdict::tooLarge) << c.what;
        EXPECT_EQ (check.entry, c.refusedEntry) << c.what;
        EXPECT_TRUE (archiveReason (check.finding).contains ("4.5 GB") && archiveReason (check.finding).contains ("4.0 GB")) << c.what << ": " << archiveReason (check.finding);
    }
}

// Names Windows cannot hold pass every other check, then fail at install as "a file could not
// be written". They are refused where the plan is made, so the build and the pass refuse alike.
TEST (ArchiveCheck, NamesWindowsCannotHoldAreRefusedWithTheEntryAndAFix)
{
    struct Case
    {
        std::vector<const char*> added; // to the VST3 archive, in this order; the last is at fault
        const char* reason; // nullptr: passes
        const char* fix;
    };

    const Case cases[] = {
        { { "Strandline2.vst3\\a.txt", "Strandline2.vst3\\a.txt" }, "another entry has the same name", "each file and folder in it once" },
        { { "Strandline2.vst3\\Read Me.txt", "Strandline2.vst3\\READ ME.TXT" }, "differs only in case from \"Strandline2.vst3/Read Me.txt\"", "does not tell names apart by case" },
        { { "Strandline2.vst3\\contents\\a.txt" }, "\"Strandline2.vst3/contents\" differs only in case from \"Strandline2.vst3/Contents\"", "does not tell names apart by case" },
        { { "Strandline2.vst3\\x", "Strandline2.vst3\\x\\y" }, "is both a file and a folder", "each file and folder in it once" },
        { { "Strandline2.vst3\\Contents\\nul.txt" }, "\"nul.txt\" in its path is a name Windows keeps for a device", "LPT1 to LPT9" },
        { { "Strandline2.vst3\\COM7\\a.txt" }, "\"COM7\" in its path is a name Windows keeps", "LPT1 to LPT9" },
        { { "Strandline2.vst3\\Aux .ini" }, "a name Windows keeps for a device", "LPT1 to LPT9" },
        { { "Strandline2.vst3\\notes." }, "\"notes.\" in its path ends in a dot or a space", "without the dot or space at the end" },
        { { "Strandline2.vst3\\docs \\a.txt" }, "\"docs \" in its path ends in a dot or a space", "without the dot or space at the end" },
        { { "Strandline2.vst3\\what?.txt" }, "holds \"?\", which Windows does not allow", "without any of < > :" },
        { { "Strandline2.vst3\\a<b>.txt" }, "holds \"<\"", "without any of < > :" },
        { { "Strandline2.vst3\\say \"hi\".txt" }, "holds \"\"\"", "without any of < > :" },
        { { "Strandline2.vst3\\a|b*.txt" }, "holds \"|\"", "without any of < > :" },
        { { "Strandline2.vst3\\console.txt", "Strandline2.vst3\\COM10", "Strandline2.vst3\\NULL.txt", "Strandline2.vst3\\a.b.c", "Strandline2.vst3\\docs\\a.txt", "Strandline2.vst3\\docs\\" }, nullptr, nullptr },
    };

    for (const auto& c : cases)
    {
        auto writer = kv::payload::makeFormatArchive (0, { 4096 });
        for (const juce::String name : c.added)
            if (name.endsWithChar ('\\'))
                writer.addDirectory (name.toStdString());
            else
                writer.addTextFile (name.toStdString(), "x");
        const auto bytes = writer.toBytes();

        std::vector<ZipRecord> records;
        ArchivePlan plan;
        const auto check = checkArchiveLayout (bytes.data(), bytes.size(), "Strandline2.vst3", records, plan);
        const auto message = describeForMaker ("vst3.zip", "Strandline2.vst3", check);
        SCOPED_TRACE (c.added.back());

        if (c.reason == nullptr)
        {
            EXPECT_TRUE (check.passed()) << message;
            continue;
        }

        EXPECT_EQ (check.verdict, ArchiveVerdict::unsafe);
        EXPECT_TRUE (message.startsWith ("vst3.zip, entry \"" + juce::String (c.added.back()) + "\": ")) << message;
        EXPECT_TRUE (message.contains (c.reason)) << message;
        EXPECT_TRUE (message.contains (c.fix)) << message;
    }
}

// Other readers (7-Zip, Windows' own, Python, streaming readers) would unpack these differently
// from the installer: refused at build time, naming the entry and the field, never as "not a ZIP".
TEST (ArchiveCheck, ArchivesOtherReadersWouldReadDifferentlyAreRefusedNamingTheField)
{
    struct Case
    {
        const char* what;
        std::function<void (Bytes&)> change;
        const char* entry;
        const char* reason; // nullptr: passes
    };

    const Case cases[] = {
        { "as written", [] (Bytes&) {}, "", nullptr },
        { "another name in the local header", [] (Bytes& b)
          { b[30] = 's'; },
          "Strandline2.clap", "its name in its local header differs from its name in the central directory" },
        { "another method in the local header", [] (Bytes& b)
          { put16 (b, 8, 0); },
          "Strandline2.clap", "its local header gives compression method 0, its central directory 8" },
        { "other flags in the local header", [] (Bytes& b)
          { put16 (b, 6, 0x800); },
          "Strandline2.clap", "its local header gives general-purpose flags 0x0800, its central directory 0x0000" },
        { "another CRC-32 in the local header", [] (Bytes& b)
          { put32 (b, 14, 0x12345678); },
          "Strandline2.clap", "its local header gives CRC-32 0x12345678, its central directory 0x" },
        { "another compressed size in the local header", [] (Bytes& b)
          { put32 (b, 18, get32 (b, 18) - 1); },
          "Strandline2.clap", "its local header gives compressed size " },
        { "another size in the local header", [] (Bytes& b)
          { put32 (b, 22, 4000); },
          "Strandline2.clap", "its local header gives uncompressed size 4000, its central directory 5000" },
        { "sums in a data descriptor", [] (Bytes& b)
          { moveSumsToDescriptor (b, get32 (b, 14)); },
          "", nullptr },
        { "another CRC-32 in the data descriptor", [] (Bytes& b)
          { moveSumsToDescriptor (b, 0x12345678); },
          "Strandline2.clap", "its data descriptor gives CRC-32 0x12345678, its central directory 0x" },
        { "a wrong CRC-32 beside a data descriptor", [] (Bytes& b)
          { moveSumsToDescriptor (b, get32 (b, 14)); put32 (b, 14, 1); },
          "Strandline2.clap", "its local header gives CRC-32 0x00000001" },
        { "two entry counts", [] (Bytes& b)
          { put16 (b, endRecord (b) + 8, 2); },
          "", "its end record gives two entry counts, 2 and 1" },
        { "more entries counted than recorded", [] (Bytes& b)
          { put16 (b, endRecord (b) + 8, 2), put16 (b, endRecord (b) + 10, 2); },
          "", "its end record counts 2 entries, but its central directory holds 1" },
        { "fewer entries counted than recorded", [] (Bytes& b)
          { put16 (b, endRecord (b) + 8, 0), put16 (b, endRecord (b) + 10, 0); },
          "", "its central directory is 62 bytes longer than the 0 entries its end record counts" },
        { "a split archive", [] (Bytes& b)
          { put16 (b, endRecord (b) + 4, 1); },
          "", "it is one part of an archive split over several files (its end record names disk 1)" },
        { "an entry on another disk", [] (Bytes& b)
          { put16 (b, centralRecord (b) + 34, 2); },
          "Strandline2.clap", "it lies on disk 2 of an archive split over several files" },
        { "a stub before it", [] (Bytes& b)
          { b.insert (b.begin(), 512, 'M'); },
          "", "it has 512 bytes before its first entry (a self-extracting stub?)" },
        { "a stub before it, offsets moved", [] (Bytes& b)
          {
             const auto directory = centralRecord (b);
             put32 (b, directory + 42, 512), put32 (b, endRecord (b) + 16, (juce::uint32) directory + 512);
             b.insert (b.begin(), 512, 'M'); },
          "", "it has 512 bytes before its first entry (a self-extracting stub?)" },
        { "bytes after it", [] (Bytes& b)
          { b.insert (b.end(), 100, 0); },
          "", "it has 100 bytes after its end record (data appended to the archive?)" },
    };

    for (const auto& c : cases)
    {
        kv::payload::ZipWriter writer;
        writer.addFile ("Strandline2.clap", Bytes (5000, 7));
        auto bytes = writer.toBytes();
        c.change (bytes);

        std::vector<ZipRecord> records;
        ArchivePlan plan;
        const auto check = checkArchiveLayout (bytes.data(), bytes.size(), "Strandline2.clap", records, plan);
        const auto message = describeForMaker ("clap.zip", "Strandline2.clap", check);

        if (c.reason == nullptr)
        {
            EXPECT_TRUE (check.passed()) << c.what << ": " << message;
            continue;
        }

        EXPECT_EQ (check.verdict, ArchiveVerdict::damaged) << c.what;
        EXPECT_EQ (check.entry, c.entry) << c.what;
        EXPECT_TRUE (archiveReason (check.finding).contains (c.reason)) << c.what << ": " << message;
        EXPECT_FALSE (message.contains ("not a ZIP")) << c.what << ": " << message;

        // A disagreement is fixed by writing the archive again, whichever field it is in.
        const auto isDisagreement = juce::String (c.reason).contains ("local header") || juce::String (c.reason).contains ("data descriptor");
        EXPECT_EQ (isDisagreement, message.contains ("Fix: make it again from the bundle with a common ZIP writer")) << c.what << ": " << message;
    }
}

// The build's check asks libzip too, once the installer's own checks pass: an archive the two
// read differently fails the build with libzip's words (here a local header's time, which the
// installer does not read and libzip compares).
TEST (ArchiveCheck, TheBuildCheckHasLibzipReadEveryArchiveTheInstallerPasses)
{
    struct Case
    {
        const char* what;
        std::function<void (Bytes&)> change;
        int exitCode;
        const char* said;
    };

    const Case cases[] = {
        { "as made", [] (Bytes&) {}, 0, "clap.zip: ok" },
        { "another time in a local header", [] (Bytes& b)
          { b[10] ^= 1; },
          1, "libzip, the build's second ZIP reader, refuses it (Zip archive inconsistent). Fix:" },
        { "a stub before it", [] (Bytes& b)
          { b.insert (b.begin(), 512, 'M'); },
          1, "it has 512 bytes before its first entry (a self-extracting stub?). Fix: embed the plain ZIP archive" },
    };

    kv::test::Sandbox sandbox;
    const kv::test::FixtureArchives fixtures;

    for (const auto& c : cases)
    {
        const auto folder = sandbox.root().getChildFile (c.what);
        folder.createDirectory();

        for (int i = 0; i < numFormats; ++i)
        {
            auto bytes = fixtures.bytes[(size_t) i];
            if (i == 1)
                c.change (bytes);
            kv::test::writeBytes (folder.getChildFile (formatArchiveNames[i]), bytes.data(), bytes.size());
        }

        juce::ChildProcess tool;
        ASSERT_TRUE (tool.start (juce::StringArray { juce::File (KV_TEST_BINARY_DIR).getChildFile ("tools/kv_archive_check").getFullPathName(), folder.getFullPathName() }));
        const auto output = tool.readAllProcessOutput();

        // Its output ends before the process does: JUCE reads no exit code until it has gone.
        ASSERT_TRUE (tool.waitForProcessToFinish (60000)) << c.what;

        EXPECT_EQ ((int) tool.getExitCode(), c.exitCode) << c.what << ": " << output;
        EXPECT_TRUE (output.contains (c.said)) << c.what << ": " << output;
    }
}
