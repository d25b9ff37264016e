// Archives the pass refuses: nothing written, the old copy kept.
#include "install/InstallPassFixture.h"
#include "messages/Messages.h"

using namespace kv::fs;
using namespace kv::install;

using namespace kv::test;

TEST_F (InstallPass, DamagedArchivesAreRefusedAndTheOldCopyKept)
{
    using kv::payload::ZipWriter;

    std::vector<std::pair<const char*, kv::payload::Bytes>> cases;
    {
        ZipWriter w;
        w.addFile ("Strandline2.clap", kv::payload::Bytes (5000, 7)).faults.recordedCrc = 0x12345678;
        cases.push_back ({ "wrong CRC", w.toBytes() });
    }
    {
        ZipWriter w;
        w.addFile ("Strandline2.clap", kv::payload::Bytes (5000, 7)).faults.recordedUncompressedSize = 6000;
        cases.push_back ({ "wrong size", w.toBytes() });
    }
    {
        // Size and CRC-32 recorded for the first 4000 bytes: only the end of the data tells.
        ZipWriter w;
        const kv::payload::Bytes data (5000, 7);
        auto& entry = w.addFile ("Strandline2.clap", data);
        entry.faults.recordedUncompressedSize = 4000;
        entry.faults.recordedCrc = (uint32_t) crc32 (0, data.data(), 4000);
        cases.push_back ({ "data inflating past the recorded size", w.toBytes() });
    }
    {
        ZipWriter w;
        // Incompressible data, so that cutting the compressed stream really loses bytes.
        std::mt19937 random (42);
        kv::payload::Bytes noise (20000);
        for (auto& byte : noise)
            byte = (uint8_t) random();
        w.addFile ("Strandline2.clap", noise).faults.truncateDataAt = 3000;
        cases.push_back ({ "truncated data", w.toBytes() });
    }
    {
        auto whole = kv::payload::buildFormatArchive (1, { 4096 });
        whole.resize (whole.size() / 2);
        cases.push_back ({ "truncated archive", whole });
    }
    {
        // Four bytes JUCE decodes as a NUL inside the name.
        auto w = kv::payload::makeFormatArchive (1, { 4096 });
        w.addTextFile ("Strandline2.clap\xf0\x80\x80\x80.txt", "x");
        cases.push_back ({ "malformed UTF-8 in a name", w.toBytes() });
    }
    cases.push_back ({ "not a zip", kv::payload::Bytes (300, 'x') });
    cases.push_back ({ "empty", {} });

    installOldCopy (1);
    const auto before = snapshotTree (destination (1));

    for (const auto& [what, bytes] : cases)
    {
        auto r = request ({ false, true, false });
        r.archives[1] = kv::test::viewOf (bytes);
        const auto report = runInstallPass (r);

        ASSERT_EQ (report.outcomes.size(), 1u) << what;
        EXPECT_EQ (report.outcomes[0].problem, InstallProblem::archiveDamaged) << what;
        EXPECT_EQ (snapshotTree (destination (1)), before) << what;
        EXPECT_TRUE (kv::messages::failureDetails (report).contains ("Download the installer again")) << what;

        // Aimed at a folder that does not exist yet, it leaves no folder behind either.
        r.destinationFolders[1] = sandbox.root().getChildFile ("new/CLAP");
        EXPECT_EQ (runInstallPass (r).outcomes[0].problem, InstallProblem::archiveDamaged) << what;
        EXPECT_FALSE (sandbox.root().getChildFile ("new").exists()) << what;
    }
}

TEST_F (InstallPass, UnsafeEntriesAreRefusedBeforeAnythingIsWritten)
{
    using kv::payload::ZipWriter;
    const auto outside = sandbox.root().getChildFile ("evil.txt");

    std::vector<std::pair<const char*, kv::payload::Bytes>> cases;
    for (const char* name : { "..\\evil.txt", "Strandline2.vst3\\..\\..\\evil.txt", "C:\\evil.txt", "/tmp/evil.txt",
                              "\\evil.txt", "Beside.txt", "Strandline2.vst3\\a\\\\b.txt",
                              // Names Windows cannot hold: a device, another entry's file, a name it refuses.
                              "Strandline2.vst3\\Contents\\CON", "Strandline2.vst3\\Plugin.ico", "Strandline2.vst3\\contents\\evil.txt",
                              "Strandline2.vst3\\evil .", "Strandline2.vst3\\evil?.txt" })
    {
        auto w = kv::payload::makeFormatArchive (0, { 4096 });
        w.addTextFile (name, "evil");
        cases.push_back ({ name, w.toBytes() });
    }
    {
        auto w = kv::payload::makeFormatArchive (0, { 4096 });
        w.addSymlink ("Strandline2.vst3\\Contents\\link", outside.getFullPathName().toStdString());
        cases.push_back ({ "symbolic link", w.toBytes() });
    }

    installOldCopy (0);
    const auto before = snapshotTree (sandbox.root());

    for (const auto& [what, bytes] : cases)
    {
        auto r = request ({ true, false, false });
        r.archives[0] = kv::test::viewOf (bytes);
        const auto report = runInstallPass (r);

        EXPECT_EQ (report.outcomes[0].problem, InstallProblem::archiveUnsafe) << what;
        EXPECT_TRUE (report.outcomes[0].archiveFinding.found()) << what;
        EXPECT_EQ (snapshotTree (sandbox.root()), before) << what;
        EXPECT_FALSE (outside.exists()) << what;
    }
}
